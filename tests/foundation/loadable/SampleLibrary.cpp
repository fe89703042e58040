// The shared library of the test bundle: only the principal-object factory.
#include "Principal.h"

extern "C" __attribute__((visibility("default"))) void* kzBundlePrincipalObject(void* bundle) {
    return new TestPrincipal{bundle, 42};
}
