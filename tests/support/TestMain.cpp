// Main of every test executable: binds the outside libraries first, as the program does.
#include "GTest.h"

#include <cstdio>

#include "EngineBinding.h"

int main(int argc, char** argv)
{
    char failed[64] = {};
    if (!BindEngineLibraries(failed, sizeof failed)) {
        std::fprintf(stderr, "cannot bind %s beside the test program\n", failed);
        return 2;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
