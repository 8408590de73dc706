/* ovlib3.h - the camera library's C interface, as the viewer imports it.
 *
 * All functions use C linkage, undecorated names and the standard calling
 * convention. Handles are opaque 32-bit values; 0 is never a valid handle.
 * Unless stated otherwise a function returns OVRESULT: a value greater than 0
 * is a failure (an error code whose details are stored in the error data that
 * was passed as the last argument), 0 or less is success.
 */
#ifndef OVLIB3_H
#define OVLIB3_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define OVLIB3_CALL __stdcall
#if defined(OVLIB3_BUILDING)
#define OVLIB3_API __declspec(dllexport)
#else
#define OVLIB3_API __declspec(dllimport)
#endif
#else
#define OVLIB3_CALL
#define OVLIB3_API
#endif

typedef uint32_t OVHANDLE;
typedef int32_t OVRESULT;

/* Library lifetime */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3Init(OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3Exit(OVHANDLE err);
OVLIB3_API const char* OVLIB3_CALL OvLib3Version(void);

/* Error data */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3ErrorDataCreate(OVHANDLE* err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3ErrorDataFree(OVHANDLE err);
/* Formats the error stored in err with a template. Placeholders:
 * %t error title, %c error code, %m error message, %f library source file,
 * %l library source line, %d date, %i object id, %I object file, %r remark,
 * %% a percent sign. codeList is the handle of list 1 (error texts).
 * Writes at most size - 1 characters plus a terminator. */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3ErrorSPrintf(char* buffer, uint32_t size, const char* format, OVHANDLE err,
                                                   OVHANDLE codeList);

/* Systems */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3SystemCreate(uint32_t typeId, OVHANDLE* system, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3SystemInit(OVHANDLE system, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3SystemDestroy(OVHANDLE system, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3SystemGetCInterface(OVHANDLE system, uint32_t interfaceId, uint32_t index,
                                                          OVHANDLE* iface, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3SystemGetOptionCInterface(OVHANDLE system, uint32_t optionId, uint32_t index,
                                                                OVHANDLE* iface, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3SystemGetInDInterface(OVHANDLE system, uint32_t interfaceId, uint32_t index,
                                                            OVHANDLE* input, OVHANDLE err);

/* Commands on control interfaces */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3CallCInterface_0(OVHANDLE iface, uint32_t command, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3CallCInterface_1(OVHANDLE iface, uint32_t command, uint32_t paramType,
                                                       void* param, OVHANDLE err);

/* Lists (no error data). A list handle of 0 means "no such list". */
OVLIB3_API OVHANDLE OVLIB3_CALL OvLib3ListGetStdList(uint32_t number);
OVLIB3_API OVHANDLE OVLIB3_CALL OvLib3ListGetStdListML(uint32_t number, uint32_t selector, uint32_t variant);
/* Non-zero while index is inside the list; then *text and *id describe the entry. */
OVLIB3_API int32_t OVLIB3_CALL OvLib3ListGetAll(const char** text, uint32_t* id, uint32_t index, OVHANDLE list);
OVLIB3_API const char* OVLIB3_CALL OvLib3ListGetString(uint32_t id, OVHANDLE list);

/* Options (interface handle first) */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionGetEnumVal(OVHANDLE iface, int32_t* value, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionSetEnumVal(OVHANDLE iface, int32_t value, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionQueryEnumVal(OVHANDLE iface, int32_t value, OVHANDLE err);
/* In/out unit: gives the first supported unit at or after *unit. */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionNextScalarUnit(OVHANDLE iface, uint32_t* unit, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionQueryScalarUnit(OVHANDLE iface, uint32_t unit, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionGetScalar(OVHANDLE iface, int32_t* value, uint32_t unit, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionSetScalar(OVHANDLE iface, int32_t value, uint32_t unit, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionRelScalar(OVHANDLE iface, int32_t step, uint32_t unit, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionGetScalarRange(OVHANDLE iface, int32_t* minimum, int32_t* maximum,
                                                           uint32_t unit, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3GetInfoScalarVal(OVHANDLE iface, int32_t* first, int32_t* second, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionGetRect(OVHANDLE iface, int32_t* x, int32_t* y, int32_t* width,
                                                    int32_t* height, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionSetRect(OVHANDLE iface, int32_t x, int32_t y, int32_t width, int32_t height,
                                                    OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionMinRect(OVHANDLE iface, int32_t* x, int32_t* y, int32_t* width,
                                                    int32_t* height, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3OptionMaxRect(OVHANDLE iface, int32_t* x, int32_t* y, int32_t* width,
                                                    int32_t* height, OVHANDLE err);

/* Data headers: a data type plus numbered 32-bit fields (0..31). */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3DataheaderCreate(OVHANDLE* header, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3DataheaderInit(OVHANDLE header, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3DataheaderFree(OVHANDLE header, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3DataheaderCopy(OVHANDLE destination, OVHANDLE source, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3DataHeaderCompare(OVHANDLE a, OVHANDLE b, int32_t* differs, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3DataheaderGetType(OVHANDLE header, uint32_t* dataType, uint32_t* second,
                                                        uint64_t* blockSize, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3DataheaderGetU32(OVHANDLE header, uint32_t field, uint32_t* value, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3DataheaderSetU32(OVHANDLE header, uint32_t field, uint32_t value, OVHANDLE err);

/* Conversion between two data types. Null output data with size 0 asks for
 * the output size needed, returned in *produced. */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3Codec(OVHANDLE inHeader, const void* inData, uint32_t inSizeLow,
                                            uint32_t inSizeHigh, OVHANDLE outHeader, void* outData, uint64_t outSize,
                                            uint64_t* produced, OVHANDLE err);

/* Input data interface (input handle first) */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceGetType(OVHANDLE input, OVHANDLE header, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceQueryReady(OVHANDLE input, uint64_t* amount, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceWait(OVHANDLE input, uint32_t milliseconds, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceBeginBlock(OVHANDLE input, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceEndBlock(OVHANDLE input, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceStartDma(OVHANDLE input, OVHANDLE context, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceQueryDmaEnd(OVHANDLE input, int32_t* done, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceCancelDma(OVHANDLE input, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceTransfer(OVHANDLE input, void* buffer, uint64_t size, uint64_t* count,
                                                           OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfacePIOTransfer(OVHANDLE input, void* buffer, uint64_t size,
                                                              uint64_t* count, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceGetAddOnAtributeTotal(OVHANDLE input, uint32_t* count, OVHANDLE err);
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3InDInterfaceGetAddOnAtributeNum(OVHANDLE input, uint32_t index, uint32_t* id,
                                                                      uint32_t* second, uint32_t* value, OVHANDLE err);

/* DMA contexts */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3DmaCreateContext(OVHANDLE* context, void** buffer, uint64_t size, OVHANDLE err);
/* 217 reports a context that was already idle: callers count it as success. */
OVLIB3_API OVRESULT OVLIB3_CALL OvLib3DmaFreeContext(OVHANDLE context, OVHANDLE err);

#ifdef __cplusplus
}
#endif

#endif /* OVLIB3_H */
