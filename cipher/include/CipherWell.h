#pragma once

/**
 * CipherWell: pass-phrase encryption of files and short texts.
 *
 * Every encrypted result is exactly the output of the DES-EDE2 / SHA-1 pass-phrase encryptor with MAC:
 * an 8-byte salt followed by a CBC body holding the key check, the data and an HMAC-SHA1 of the data.
 * A message of n bytes encrypts to 8 + 8 * ((n + 28) / 8 + 1) bytes (integer division).
 *
 * The functions share no state and may run on any thread; each runs on the caller's thread.
 * No function lets an exception escape.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(CIPHERWELL_BUILDING)
#define CIPHERWELL_API __attribute__((visibility("default")))
#else
#define CIPHERWELL_API
#endif

#ifdef __cplusplus
#define CIPHERWELL_NOEXCEPT noexcept
#else
#define CIPHERWELL_NOEXCEPT
#endif

/** Message numbers posted through CipherWellTarget::post (the application message range starts at 0x8000). */
enum
{
    kCipherWellAppMessageBase = 0x8000,
    /** Posted once when the pump loop starts: wParam = the caller's tag, lParam = 0. */
    kCipherWellStartMessage = kCipherWellAppMessageBase + 20,
    /** wParam = source bytes since the previous progress message, lParam = source bytes since the start. */
    kCipherWellProgressMessage = kCipherWellAppMessageBase + 21
};

/**
 * Where the file functions report to. Either function pointer may be null.
 *
 * post: receives the start and progress messages. It is called on the encrypting thread and must return
 *       promptly (queue the message to the owning thread; never wait for it).
 * ask:  asked "作業を中止しますか?" with the caption "Marlow Desk Warden" (both UTF-8) when the caller has
 *       cleared the continue flag; it shows a warning with the buttons Yes and No and returns non-zero for
 *       Yes (stop the work) and 0 for No (carry on). It is called on the encrypting thread and may block.
 */
typedef struct CipherWellTarget
{
    void (*post)(void* postContext, unsigned int message, int64_t wParam, int64_t lParam);
    void* postContext;
    int (*ask)(void* askContext, const char* text, const char* caption);
    void* askContext;
} CipherWellTarget;

/**
 * Encrypts the file sourcePath into targetPath (created or truncated), streaming in 1024-byte pumps.
 *
 * @param window       message target, or null for no messages.
 * @param tag          the caller's value, posted with kCipherWellStartMessage.
 * @param sourcePath   UTF-8 path of the plain file.
 * @param targetPath   UTF-8 path of the encrypted file; it must not name the source file.
 * @param passPhrase   zero-terminated pass phrase (raw bytes up to the terminator).
 * @param continueFlag the caller sets *continueFlag to 0 at any time to ask for cancellation; the library
 *                     then asks window->ask once: Yes stops, No sets *continueFlag back to 1. Without an ask
 *                     function a cleared flag stops the work at once. Null: the work cannot be cancelled.
 * @param intervalMs   least time in milliseconds between two progress messages.
 * @return the value of *continueFlag at the end (1 when it was left alone; 1 when continueFlag is null);
 *         0 after a confirmed cancellation (the target keeps what was written; the caller deletes it),
 *         and 0 when an argument is null, the source cannot be read, the target cannot be created or
 *         written, or the target names the source; in those failures no partial target is left behind.
 */
CIPHERWELL_API int EncryptFileStream(const CipherWellTarget* window, int64_t tag, const char* sourcePath,
    const char* targetPath, const char* passPhrase, int* continueFlag, unsigned int intervalMs) CIPHERWELL_NOEXCEPT;

/**
 * Decrypts the file sourcePath into targetPath; same arguments and messages as EncryptFileStream.
 *
 * @return 1 only when the whole input decrypted and its check value matched. 0 otherwise:
 *         - wrong pass phrase or an input too short for the key check: targetPath is not created;
 *         - confirmed cancellation: the target keeps what was written so far; the caller deletes it;
 *         - a damaged, truncated or tampered input (bad check value, bad length, bad padding): the target,
 *           which would hold unauthenticated plain text, is removed;
 *         - an unreadable source, an uncreatable or unwritable target, a null argument, or a target that
 *           names the source: no partial target is left behind.
 */
CIPHERWELL_API int DecryptFileStream(const CipherWellTarget* window, int64_t tag, const char* sourcePath,
    const char* targetPath, const char* passPhrase, int* continueFlag, unsigned int intervalMs) CIPHERWELL_NOEXCEPT;

/**
 * Encrypts the zero-terminated text under passPhrase.
 *
 * @return the encrypted data as upper-case hexadecimal text, zero-terminated; free it with
 *         DeleteStringMemory. Null only when an argument is null or memory runs out.
 */
CIPHERWELL_API char* EncryptStr(const char* text, const char* passPhrase) CIPHERWELL_NOEXCEPT;

/**
 * Decrypts hexadecimal text (either case; every other character is skipped).
 *
 * @return the plain text, zero-terminated; free it with DeleteStringMemory. Null for a wrong pass phrase,
 *         a damaged or truncated text, a bad check value, or a null argument.
 */
CIPHERWELL_API char* DecryptStr(const char* hexText, const char* passPhrase) CIPHERWELL_NOEXCEPT;

/** Wipes and frees a text returned by EncryptStr or DecryptStr; null is ignored. Never free them otherwise. */
CIPHERWELL_API void DeleteStringMemory(char* text) CIPHERWELL_NOEXCEPT;

#ifdef __cplusplus
}
#endif
