/* ovlib3_sim.h - test controls of the simulated ovlib3.dll.
 *
 * Only tests include this; the viewer never does. All functions are safe to
 * call from any thread. See ovlib3/README.md for the simulated model.
 */
#ifndef OVLIB3_SIM_H
#define OVLIB3_SIM_H

#include "ovlib3.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Kinds for OvSimLiveHandlesOf. */
#define OVSIM_KIND_ERROR_DATA 1
#define OVSIM_KIND_DATA_HEADER 2
#define OVSIM_KIND_SYSTEM 3
#define OVSIM_KIND_DMA_CONTEXT 4

/* Error code that stores a remark of over 1500 characters when injected. */
#define OVSIM_CODE_LONG_REMARK 999

/* Clears faults and call counters and sets fast, deterministic, DMA-hang,
 * trigger-rate and the VEXT modes back to their defaults. Live objects stay. */
OVLIB3_API void OVLIB3_CALL OvSimReset(void);

/* The nth call (1-based, counted from now) of the named export fails with
 * code (0 = default 100); nth 0 = every call from now on. Faults add up.
 * List functions fail by returning 0 or null. */
OVLIB3_API void OVLIB3_CALL OvSimFailCall(const char* function, uint32_t nth, int32_t code);
OVLIB3_API void OVLIB3_CALL OvSimClearFaults(void);
/* Calls of the named export since load or the last reset. */
OVLIB3_API uint32_t OVLIB3_CALL OvSimCallCount(const char* function);

/* Error datas + data headers + systems + DMA contexts alive now. */
OVLIB3_API uint32_t OVLIB3_CALL OvSimLiveHandles(void);
OVLIB3_API uint32_t OVLIB3_CALL OvSimLiveHandlesOf(int kind);

/* Fast mode: frames are ready at once (software start still needs a trigger)
 * and Wait never sleeps. Default off: real frame timing. */
OVLIB3_API void OVLIB3_CALL OvSimSetFastMode(int on);

/* Deterministic mode: image noise from a hash of (seed, frame number, pixel). */
OVLIB3_API void OVLIB3_CALL OvSimSetDeterministic(int on, uint32_t seed);

/* Renders the codec's final output for frameNumber in the current camera
 * configuration of the most recently created (ZEL, initialised) system:
 * mono width*height samples, colour width*height*3 (blue, green, red).
 * Needs deterministic mode. Returns > 0 on failure. */
OVLIB3_API OVRESULT OVLIB3_CALL OvSimExpectedImage(uint32_t frameNumber, uint16_t* out, uint64_t outSamples);

/* StartDma succeeds but QueryDmaEnd never reports done (CancelDma works); both families. */
OVLIB3_API void OVLIB3_CALL OvSimSetDmaHang(int on);

/* External sync mode trigger rate in millihertz (default 5000 = 5 Hz). */
OVLIB3_API void OVLIB3_CALL OvSimSetExternalTriggerRate(uint32_t milliHertz);

/* The VEXT controls taking a system accept 0 for the newest system. */

/* Puts a film of frames frames into an initialised VEXT system's memory at
 * once, as if recorded in the current settings (frame numbers 0..frames-1);
 * a running recording or live ring ends. */
OVLIB3_API OVRESULT OVLIB3_CALL OvSimSetRecordedFrames(OVHANDLE system, uint32_t frames);

/* VEXT: QueryReady always answers 0 (no part ever becomes ready). */
OVLIB3_API void OVLIB3_CALL OvSimSetVextNoData(int on);

/* VEXT: 0 = normal; otherwise every transfer status query answers status. */
OVLIB3_API void OVLIB3_CALL OvSimSetVextStatus(uint32_t status);

/* VEXT: the input type announces a part block size this many bytes smaller
 * than the parts the camera sends (a broken header); 0 = normal. */
OVLIB3_API void OVLIB3_CALL OvSimSetVextBlockShortfall(uint32_t bytes);

/* VEXT: stop input commands are accepted but ignored, and after one the
 * status stays 7 (busy) until this is turned off. */
OVLIB3_API void OVLIB3_CALL OvSimSetVextStuckInput(int on);

/* VEXT, deterministic mode only: the decoded image (10-bit samples << 6,
 * width*height, the GRBG mosaic for the colour sensor) of the frame that
 * index addresses in what the frame index option addresses now (the film, or
 * the live ring of the current readout). Returns > 0 on failure. */
OVLIB3_API OVRESULT OVLIB3_CALL OvSimExpectedVextFrame(OVHANDLE system, int32_t index, uint16_t* out,
                                                       uint64_t outSamples);

/* Same as the OVSIM_FAIL environment variable: "function[:nth[:code]];..." */
OVLIB3_API void OVLIB3_CALL OvSimFailFromText(const char* text);

#ifdef __cplusplus
}
#endif

#endif /* OVLIB3_SIM_H */
