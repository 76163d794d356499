#include "app/Main.h"
#include "app/Stackle.h"

#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

// What writes killed in an earlier run left beside the program goes at the next start; the
// user's own files stay.
TEST(Stackle, StartUpRemovesWhatKilledWritesLeftBehind)
{
    doubles::TestPlatform env;
    env.write("FILE.INI", "[Help]\r\nVisible=0\r\n");
    env.write("FILE.INI.stackle-x1Y2z3", "[Help]\r\nVisible=0\r\n");
    env.write("note3.dat.stackle-abcdef", "a note");
    env.write("FILE.INI.bak", "mine");
    TStackle stackle(env.platform());
    EXPECT_TRUE(stackle.Strip().isVisible());
    EXPECT_FALSE(env.read("FILE.INI.stackle-x1Y2z3"));
    EXPECT_FALSE(env.read("note3.dat.stackle-abcdef"));
    EXPECT_EQ(env.read("FILE.INI.bak"), "mine");
}

} // namespace
