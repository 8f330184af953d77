/* A plug-in for the loader's tests, built in several variants: with all texts; without a
 * vendor and the menu functions; one that crashes in SP_Init; one that hands back a text
 * pointer into nowhere; and a library with none of the functions. It reports its calls to
 * the host's KelvaraTestPluginCall, if any. */
#define _GNU_SOURCE
#include "KelvaraPlugin.h"

#include <dlfcn.h>
#include <signal.h>
#include <stddef.h>

#ifndef TEST_PLUGIN_NO_FUNCTIONS
static void Report(const char* call, int32_t language) {
    void (*record)(const char*, const char*, int32_t) = NULL;
    *(void**)(&record) = dlsym(RTLD_DEFAULT, "KelvaraTestPluginCall");
    if (record) {
        record(TEST_PLUGIN_NAME, call, language);
    }
}

KVR_EXPORT int32_t KVR_CALL SP_Init(int32_t language, const char** name, const char** vendor,
                                    const char** version, const char** comment) {
    Report("init", language);
#ifdef TEST_PLUGIN_CRASH
    raise(SIGSEGV);
#endif
    *name = TEST_PLUGIN_NAME;
#ifdef TEST_PLUGIN_NO_VENDOR
    *vendor = NULL;
#else
    *vendor = "Kelvara tests";
#endif
#ifdef TEST_PLUGIN_BAD_TEXT
    *version = (const char*)(uintptr_t)16;
#else
    *version = "1.0";
#endif
    *comment = language == 'D' ? "Testmodul" : "test module";
    return 0;
}

KVR_EXPORT void KVR_CALL SP_Exit(void) { Report("exit", 0); }

#ifndef TEST_PLUGIN_NO_VENDOR
KVR_EXPORT void KVR_CALL SP_GetFirstMenu(void) {}
KVR_EXPORT void KVR_CALL SP_GetNextMenu(void) {}
#endif
#else
KVR_EXPORT int TestPluginOther(void) { return 1; }
#endif
