/* A plug-in for the loader's tests, built twice: with all texts, and without a vendor and
 * the menu functions. It reports its calls to the host's KelvaraTestPluginCall, if any. */
#define _GNU_SOURCE
#include "KelvaraPlugin.h"

#include <dlfcn.h>
#include <stddef.h>

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
    *name = TEST_PLUGIN_NAME;
#ifdef TEST_PLUGIN_NO_VENDOR
    *vendor = NULL;
#else
    *vendor = "Kelvara tests";
#endif
    *version = "1.0";
    *comment = language == 'D' ? "Testmodul" : "test module";
    return 0;
}

KVR_EXPORT void KVR_CALL SP_Exit(void) { Report("exit", 0); }

#ifndef TEST_PLUGIN_NO_VENDOR
KVR_EXPORT void KVR_CALL SP_GetFirstMenu(void) {}
KVR_EXPORT void KVR_CALL SP_GetNextMenu(void) {}
#endif
