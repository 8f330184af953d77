/* The interface of a Kelvara plug-in, for plug-in authors.
 *
 * A plug-in is a shared library named "*.kvr" placed in the folder of the kelvara program.
 * At start the program loads every such library and looks up the functions below by these
 * exact names (export them with C linkage). All of them are optional.
 *
 *   SP_Init  is called once at start. language is 'E' (English) or 'D' (German). Set each of
 *            the four pointers to a zero-terminated text that stays valid until SP_Exit, or
 *            leave it null for an empty text. The program copies the texts right after the
 *            call and never frees them; a text it cannot read is left empty. The result is
 *            not used. A plug-in that crashes the program before SP_Init returns is skipped
 *            at later starts (see the marker beside kvr.cfg).
 *   SP_Exit  is called once when the program ends, in the order the plug-ins were loaded.
 *   SP_GetFirstMenu, SP_GetNextMenu are reserved for menu entries; they are looked up but
 *            not called, and their signature is not fixed yet.
 *
 * On 32-bit Windows the functions use the __stdcall convention.
 */
#ifndef KELVARA_PLUGIN_H
#define KELVARA_PLUGIN_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define KVR_CALL __stdcall
#else
#define KVR_CALL
#endif

#if defined(_WIN32)
#define KVR_EXPORT __declspec(dllexport)
#else
#define KVR_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t(KVR_CALL* SP_InitFunction)(int32_t language, const char** name,
                                           const char** vendor, const char** version,
                                           const char** comment);
typedef void(KVR_CALL* SP_ExitFunction)(void);
typedef void(KVR_CALL* SP_MenuFunction)(void);

#ifdef __cplusplus
}
#endif

#endif /* KELVARA_PLUGIN_H */
