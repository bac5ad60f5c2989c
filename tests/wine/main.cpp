// Entry of the in-process tests, which are also the self-test: one application object for the
// whole run, as in the program.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/application.h"
#include "clock/localetime.h"
#include "tests/wine/selftest.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    ReadTimeTextSettings();
    TApplication application;
    Application = &application;
    const int result = RunSelfTest();
    Application = nullptr;
    return result;
}
