// libFuzzer entry: the target is chosen at build time with KELVARA_FUZZ_TARGET.
#include <cstddef>
#include <cstdint>

extern "C" int KELVARA_FUZZ_TARGET(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return KELVARA_FUZZ_TARGET(data, size);
}
