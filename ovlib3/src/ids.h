// Every numeric id the simulated library publishes: camera types, interface
// and option ids, enum values (one id space for all enums), units, pixel
// formats and add-on attributes.
#pragma once
#include <cstdint>

namespace ovsim {

// Camera types (list 10).
constexpr uint32_t kCameraZelMono = 1;
constexpr uint32_t kCameraZelColour = 2;
constexpr uint32_t kCameraVext = 3;
constexpr uint32_t kCameraZelMonoNoSoftStart = 4;

// Pre-init options (list 11).
constexpr uint32_t kOptBoardNumber = 0x100001;
constexpr uint32_t kOptBusInterface = 0x100002;
constexpr uint32_t kOptChannel = 0x100003;  // exists only at indexes 3 and 7
constexpr uint32_t kOptSensor = 0x100004;   // VEXT: monochrome or colour sensor
constexpr uint32_t kChannelIndexA = 3;
constexpr uint32_t kChannelIndexB = 7;

// Post-init options (list 2).
constexpr uint32_t kOptExposure = 0x400002;
constexpr uint32_t kOptFrameRate = 0x400003;
constexpr uint32_t kOptSyncMode = 0x400004;
constexpr uint32_t kOptRecordMode = 0x400005;
constexpr uint32_t kOptRegion = 0x400006;
constexpr uint32_t kOptFramePosition = 0x400007;
constexpr uint32_t kOptDataFormat = 0x400008;
constexpr uint32_t kOptPartitions = 0x400009;  // VEXT: memory partitions
constexpr uint32_t kOptGain = 0x40000A;
constexpr uint32_t kOptDigitalGainLimit = 0x40000B;  // colour ZEL: how far the viewer may shift samples
constexpr uint32_t kOptCentringFactor = 0x40000C;    // colour ZEL: horizontal centring factor, unit 5
constexpr uint32_t kOptPreTrigger = 0x40000D;
constexpr uint32_t kOptSyncOutput = 0x400011;
constexpr uint32_t kOptFrameIndex = 0x400020;
constexpr uint32_t kInfoSensorTemperature = 0x900001;
constexpr uint32_t kInfoTotalFrames = 0x900003;

// Control interfaces and the input.
constexpr uint32_t kIfaceSerialNumber = 0xC0000002;
constexpr uint32_t kIfaceInputControl = 0xC0300002;
constexpr uint32_t kIfaceControl = 0xC0300003;
constexpr uint32_t kIfaceInput = 0xC0000000;

// Commands and their parameter types.
constexpr uint32_t kCmdSoftwareTrigger = 0xB0000003;  // on the control interface
constexpr uint32_t kCmdInputRestart = 0xA0000065;     // on an input control interface
constexpr uint32_t kCmdReadSerial = 0x50000065;       // on a serial number interface
constexpr uint32_t kParamTextBuffer = 284;            // struct {uint32_t capacity; char* buffer;}

// Enum values (list 4).
constexpr int32_t kSyncOutputStrobe = 2;
constexpr int32_t kSyncOutputOff = 3;
constexpr int32_t kSyncSoftware = 4;
constexpr int32_t kSyncExternal = 5;
constexpr int32_t kSyncInternal = 6;
constexpr int32_t kGainLimit1 = 14;  // digital gain limits: shift up to 1, 2, 4 bits
constexpr int32_t kGainLimit2 = 15;
constexpr int32_t kGainLimit4 = 16;
constexpr int32_t kFormatMono8High = 17;
constexpr int32_t kFormatMono10Packed = 18;
constexpr int32_t kFormatMono12Packed = 19;
constexpr int32_t kFormatMono16 = 20;
constexpr int32_t kFormatMosaic10 = 24;
constexpr int32_t kFormatRgb10 = 25;
constexpr int32_t kFormatBgr48 = 26;
constexpr int32_t kSyncRecordOnEdge = 33;
constexpr int32_t kRecordSingle = 36;
constexpr int32_t kRecordRing = 37;
constexpr int32_t kBusPciExpress = 40;
constexpr int32_t kBusSimulated = 41;
constexpr int32_t kBusOptical = 42;
constexpr int32_t kSensorMono = 43;
constexpr int32_t kSensorColour = 44;

// Units (list 3). Unit 0, every scalar's native unit, is not listed.
constexpr uint32_t kUnitNative = 0;
constexpr uint32_t kUnitMicroseconds = 2;
constexpr uint32_t kUnitMilliseconds = 3;
constexpr uint32_t kUnitTimes = 5;
constexpr uint32_t kUnitPercent = 6;
constexpr uint32_t kUnitFramesPerSecond = 31;

// Data header layout.
constexpr uint32_t kDataTypeColour = 2;  // width, height in fields 7, 8
constexpr uint32_t kDataTypeMono = 3;    // width, height in fields 4, 5
constexpr uint32_t kFieldMonoWidth = 4;
constexpr uint32_t kFieldMonoHeight = 5;
constexpr uint32_t kFieldColourWidth = 7;
constexpr uint32_t kFieldColourHeight = 8;
constexpr uint32_t kFieldPixelFormat = 9;
constexpr uint32_t kFieldLayout = 10;
constexpr uint32_t kFieldBitsPerPixel = 11;
constexpr uint32_t kFieldRoiX = 12;
constexpr uint32_t kFieldRoiY = 13;
constexpr uint32_t kLayoutRaw = 0x10000;
constexpr uint32_t kLayoutDecoded = 0x20000;

// Pixel format codes (header field 9).
constexpr uint32_t kPixMono8High = 0x0108;
constexpr uint32_t kPixMono10Packed = 0x010A;
constexpr uint32_t kPixMono12Packed = 0x010C;
constexpr uint32_t kPixMono16 = 0x0110;
constexpr uint32_t kPixMosaic = 0x10002;
constexpr uint32_t kPixRgb10 = 0x10003;
constexpr uint32_t kPixBgr48 = 0x10004;

// Add-on attributes per block (list 7 names all but the last).
constexpr uint32_t kAttrFrameNumber = 0x70000001;
constexpr uint32_t kAttrTimeStamp = 0x70000002;
constexpr uint32_t kAttrSensorTemperature = 0x70000003;
constexpr uint32_t kAttrChecksum = 0x7000000F;  // deliberately nameless

// VEXT commands: on the input control interface (index 0 unless said) ...
constexpr uint32_t kCmdVextArmInput = 0xA0000064;
constexpr uint32_t kCmdVextStatus = 0xA0000066;  // CallCInterface_1 with kParamStatusRecord, also on the control
constexpr uint32_t kCmdVextStopInput = 0xA0000068;
// ... and on the control interface.
constexpr uint32_t kCmdVextSelectPart = 0xB0000001;      // CallCInterface_1 with kParamPartNumber
constexpr uint32_t kCmdVextFrameRead = 0xB0000004;       // live readout acknowledged
constexpr uint32_t kCmdVextPrepareReadout = 0xB0000005;  // empties the queue of selected parts
constexpr uint32_t kParamStatusRecord = 272;             // struct {uint32_t status; uint32_t words[15];}
constexpr uint32_t kParamPartNumber = 16;                // uint32_t part 0..3
constexpr uint32_t kVextStatusIdle = 3;
constexpr uint32_t kVextStatusBusy = 7;

}  // namespace ovsim
