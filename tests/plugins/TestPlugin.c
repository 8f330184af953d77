/* A plug-in for the loader's tests, built twice: with all texts, and without a vendor.
 * It reports each call to the host's KelvaraTestPluginCall when the host has one. */
#define _GNU_SOURCE
#include "KelvaraPlugin.h"

#include <dlfcn.h>
#include <stddef.h>

typedef void (*CallRecorder)(const char* plugin, const char* call, int32_t language);

static void Report(const char* call, int32_t language) {
    void* symbol = dlsym(RTLD_DEFAULT, "KelvaraTestPluginCall");
    if (symbol) {
        CallRecorder record;
        *(void**)(&record) = symbol;
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

KVR_EXPORT void KVR_CALL SP_Exit(void) {
    Report("exit", 0);
}

#ifndef TEST_PLUGIN_NO_VENDOR
KVR_EXPORT void KVR_CALL SP_GetFirstMenu(void) {}
KVR_EXPORT void KVR_CALL SP_GetNextMenu(void) {}
#endif
