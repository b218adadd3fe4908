#pragma once

/**
 * HalvoxEngine: the speaker-verification engine.
 *
 * The engine keeps exactly one context per process. SVE_Initialize creates it; every other function
 * works on that context and does nothing (or returns 0 / an empty text) when there is none. The
 * functions are not thread-safe: a process drives the engine from one thread at a time.
 *
 * Texts are NUL-terminated UTF-8 byte strings. Fields hold at most 255 bytes; longer texts are cut
 * (folder names at 254 bytes, leaving room for the appended '/').
 *
 * No function throws. Failures are reported by the result and, where stated, a line in the label text.
 */

#include <stdint.h>

#define SVE_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* ---- context ---------------------------------------------------------------------------------- */

/** Creates the process's context with every default. Returns a non-zero handle, 0 when memory is
 *  exhausted. A second call replaces the context with a fresh one. */
SVE_API void* SVE_Initialize(void);

/** Releases the work memory, then the context. Does nothing without a context. */
SVE_API void SVE_Destruct(void);

/** Releases the work memory (nothing when absent). The next SVE_GetEndpointShort recreates it from
 *  the parameters then in force. Always returns 0. */
SVE_API int SVE_DestructMemories(void);

/* ---- texts and folders ------------------------------------------------------------------------ */

/** Sets the engine folder; a '/' is appended unless the text already ends in one. */
SVE_API void SVE_PutDir(const char* folder);
/** Sets the user ID (names the per-user folder, stored in user model headers). */
SVE_API void SVE_PutID(const char* id);
/** Sets the word text (stored in user model headers, never compared). */
SVE_API void SVE_PutPW(const char* text);
/** Sets the three-character word code that names every per-word file. */
SVE_API void SVE_PutNick(const char* code);

/* ---- parameters: none of them is checked here; sizes are checked when the work memory is used --- */

/** 1: enrolment (stricter recording checks, widened endpoints, word checks); otherwise verification. */
SVE_API void SVE_PutMode(int mode);
/** Enrolment repetitions, and the number of feature slots of the work memory. */
SVE_API void SVE_PutMaxRepeat(int count);
SVE_API void SVE_AnalParams(int sampleRate, int maxDurationMs, int windowLength, int frameShift);
SVE_API void SVE_NoiseParams(int noiseMode, double noiseParam2, int noiseParam3);
/** Sets lpcOrder, cepstralOrder, featureDim = cepstralOrder + 1, hmmStates, codebookSize,
 *  combinedSize = 2 x codebookSize and hmmSymbols = codebookSize. */
SVE_API void SVE_EngineParams(int lpcOrder, int cepstralOrder, int hmmStates, int codebookSize);
SVE_API void SVE_HMMParams(
    int adaptOnAccept, double convergence, double updateWeight1, double updateWeight2, double updateWeight3);
SVE_API void SVE_EPDParams(int minFrames, int maxFrames, int p3, int p4);
SVE_API void SVE_CopyParams(double factor);
/** Non-zero: enrolment checks the first repetition against the fixed vocabulary. */
SVE_API void SVE_SetbSpeech(int on);
SVE_API void SVE_SameWordDist(float threshold);
SVE_API void SVE_Security(float margin);
/** Non-zero: user models live in folder + "work/"; zero: in folder + "user/" + id + "/". */
SVE_API void SVE_SetbNetVersion(int on);

/* ---- endpoint detection ----------------------------------------------------------------------- */

/**
 * Finds the spoken word in one recording and takes its samples into the speech buffer.
 * @param samples 16-bit samples at the sample rate; pre-filtered in place (pass the same buffer to the
 *                per-reading analysis afterwards).
 * @param count   number of samples (at most the work memory's speech buffer).
 * @param trimEnd non-zero: refine the end of the word.
 * @return 1 when a segment was taken (error number 0, -4 or -5), 0 when the recording was rejected
 *         (error number -1, -2 or -3). Creates the work memory first when it is absent.
 */
SVE_API int SVE_GetEndpointShort(short* samples, int count, int trimEnd);

/** Start frame in the low 32 bits, end frame (the frame after the word) in the high 32 bits. */
SVE_API int64_t SVE_GetEndpointValue(void);
SVE_API int SVE_GetSampleValue(void);
SVE_API int SVE_GetShiftValue(void);
/** 0 accepted, -1 length, -2 too weak, -3 too loud, -4 noisy (enrolment), -5 no high band (enrolment). */
SVE_API int SVE_GetErrorNumber(void);

/** The diagnostic line of the last rejection or file error; owned by the context. */
SVE_API const char* SVE_GetLabelString(void);
/** The result line of the last gender decision, verification or live check; owned by the context. */
SVE_API const char* SVE_GetStatusString(void);

/* ---- per-reading analysis, training, verification --------------------------------------------- */

/**
 * Analyses the reading that SVE_GetEndpointShort just took: speaker features into slot `index`, the
 * gender decision, and in enrolment mode the same-word check against slot 0 (index > 0) or the
 * vocabulary word check (index 0, when enabled).
 * @param samples the buffer SVE_GetEndpointShort filtered, with the same count.
 * @param index   the repetition, 0 ... maxRepeat - 1; index 0 resets the gender counters.
 * @return 1 accepted, 0 rejected (the label text says why; an index outside the slots is refused).
 */
SVE_API int SVE_CheckSexSpeech(short* samples, int count, int index);

/**
 * Trains the user model of the current user and word from slots 0 ... maxRepeat - 1 and writes it to
 * the user folder (perUserFolders) or the work folder. The model's gender is the majority of the
 * repetitions. @return 1 written, 0 failure (the label text names the file).
 */
SVE_API int SVE_Train(void);

/**
 * Judges the reading in slot 0 against the current user model. Writes the accept or deny line to the
 * status text; after an acceptance with adaptation on, adapts and rewrites the model (SVE_GetbUpdate).
 * Run SVE_VCopy first when the live check is wanted: this call shifts the slot's features.
 * @return 1 accepted, 0 denied or failure (label text on failure).
 */
SVE_API int SVE_Verify(void);

/**
 * Tells a live reading (slot 0) from one replayed through a loudspeaker; writes the Live/Record line
 * with the local date and time to the status text.
 * @return 1 live, 0 recording or failure.
 */
SVE_API int SVE_VCopy(void);

/* ---- results ---------------------------------------------------------------------------------- */

/** 0 male, 1 female, -1 when the gender files could not be read. */
SVE_API int SVE_GetSex(void);
/** 1 when the last accepted verification rewrote the user model. */
SVE_API int SVE_GetbUpdate(void);

/**
 * Reads the header of the current user model (the file that training writes for the current folder
 * mode, user and word code) and stores its version numbers.
 * @return 1 read, 0 failure (label text names the file).
 */
SVE_API int SVE_ModelVersionCheck(int* major, int* minor);

#ifdef __cplusplus
}
#endif
