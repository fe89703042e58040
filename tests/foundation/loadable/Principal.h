#pragma once

// What the test bundle's factory hands out.
struct TestPrincipal {
    const void* bundle;
    int magic;
};
