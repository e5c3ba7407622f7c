#include "CommandLineParams.h"
#include "CommandLineWalk.h"
#include "ReferenceWalk.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

using Steps = std::vector<WalkStep>;

TEST(CommandLineParamsProgramName, EmptyOrBlankLineHasNoParameters)
{
    EXPECT_EQ(WalkSteps(""), Steps{});
    EXPECT_EQ(WalkSteps(" \t\r\n\v\f "), Steps{});
    EXPECT_EQ(WalkSteps(nullptr), Steps{});
}

TEST(CommandLineParamsProgramName, OnlyTheProgramNameHasNoParameters)
{
    EXPECT_EQ(WalkSteps("Vantrel.exe"), Steps{});
    EXPECT_EQ(WalkSteps("Vantrel.exe   "), Steps{});
    EXPECT_EQ(WalkSteps(R"("C:\Program Files\Vantrel\Vantrel.exe")"), Steps{});
}

TEST(CommandLineParamsProgramName, FirstParamEmptiesTheSlotsWhenThereIsNothing)
{
    CommandLineParams params("Vantrel.exe");
    std::string flag = "old flag";
    std::string param = "old param";
    EXPECT_EQ(params.FirstParam(flag, param), 0);
    EXPECT_EQ(flag, "");
    EXPECT_EQ(param, "");
}

TEST(CommandLineParamsProgramName, QuotedPathWithSpacesIsConsumedWhole)
{
    EXPECT_EQ(WalkSteps(R"("C:\Program Files\-INSTALL\Vantrel.exe")"), Steps{});
    EXPECT_EQ(WalkSteps(R"("C:\Program Files\-INSTALL\Vantrel.exe" /UNINSTALL)"), Steps{Flag("UNINSTALL")});
    EXPECT_EQ(WalkSteps(R"("C:\My   /INSTALL  tools\Vantrel.exe" word)"), Steps{Param("word")});
    EXPECT_EQ(WalkSteps(R"("C:\Vantrel\Vantrel.exe" -x)"), Steps{Flag("x")});
}

TEST(CommandLineParamsProgramName, UnquotedPathWithSpacesLosesOnlyItsFirstWord)
{
    EXPECT_EQ(WalkSteps(R"(C:\Program Files\Vantrel\Vantrel.exe /INSTALL)"),
        (Steps{Param(R"(Files\Vantrel\Vantrel.exe)"), Flag("INSTALL")}));
    EXPECT_EQ(WalkSteps(R"(C:\Tools -new\Vantrel.exe)"), Steps{Flag(R"(new\Vantrel.exe)")});
}

TEST(CommandLineParamsProgramName, NameBeginningWithAMarkerIsStillSteppedOver)
{
    EXPECT_EQ(WalkSteps("/opt/vantrel.exe -INSTALL"), Steps{Flag("INSTALL")});
    EXPECT_EQ(WalkSteps(R"(/"C:\a b\Vantrel.exe" x)"), Steps{Param("x")});
}

TEST(CommandLineParamsProgramName, DefaultConstructorWalksTheCommandLineOfThisProcess)
{
    // The test runner starts this program with arguments of its own; they
    // must come back as parameters, the program path stepped over.
    CommandLineParams params;
    const CommandLineWalk walk = WalkCommandLine(params, 100);
    EXPECT_TRUE(walk.ended);
    EXPECT_EQ(walk.steps, ReferenceWalk(GetCommandLineA())) << "command line: " << Escaped(GetCommandLineA());
    EXPECT_EQ(walk.steps.empty(), __argc <= 1);
}

TEST(CommandLineParamsSeparators, RunsOfSpacesAreOneSeparator)
{
    EXPECT_EQ(WalkSteps("prog   a    b c"), (Steps{Param("a"), Param("b"), Param("c")}));
}

TEST(CommandLineParamsSeparators, TabDoesNotSeparate)
{
    EXPECT_EQ(WalkSteps("prog /INSTALL\t/UNINSTALL"), Steps{Flag("INSTALL\t/UNINSTALL")});
    EXPECT_EQ(WalkSteps("prog\t/INSTALL"), Steps{});
}

TEST(CommandLineParamsSeparators, OtherControlCharactersInsideTheLineAreOrdinary)
{
    EXPECT_EQ(WalkSteps("prog a\r\nb \vc\f"), (Steps{Param("a\r\nb"), Param("\vc")}));
}

TEST(CommandLineParamsSeparators, WhiteSpaceAtBothEndsIsTrimmed)
{
    EXPECT_EQ(WalkSteps(" \t\r\n\v\fprog x \t\r\n\v\f"), Steps{Param("x")});
    // Were the tab kept, the program name would not begin with the quote.
    EXPECT_EQ(WalkSteps("\t\"C:\\My tools\\Vantrel.exe\" x"), Steps{Param("x")});
    EXPECT_EQ(WalkSteps("prog \"a b\t\n"), Steps{Param("a b")});
}

TEST(CommandLineParamsSeparators, BytesAboveAsciiAreOrdinaryCharacters)
{
    EXPECT_EQ(WalkSteps("prog\xA0x /\xC4\xE4 \"\xFF  \x80\" \x81"),
        (Steps{Flag("\xC4\xE4"), Param("\xFF  \x80"), Param("\x81")}));
}

TEST(CommandLineParamsFlags, OneMarkerIsRemoved)
{
    EXPECT_EQ(WalkSteps("prog /INSTALL -UNINSTALL //x --y"),
        (Steps{Flag("INSTALL"), Flag("UNINSTALL"), Flag("/x"), Flag("-y")}));
}

TEST(CommandLineParamsFlags, LoneMarkerGivesAnEmptyFlag)
{
    EXPECT_EQ(WalkSteps("prog / - x"), (Steps{Flag(""), Flag(""), Param("x")}));
    EXPECT_EQ(WalkSteps("prog /"), Steps{Flag("")});
}

TEST(CommandLineParamsFlags, MarkerCountsOnlyAtTheStartOfAToken)
{
    EXPECT_EQ(WalkSteps("prog a/b c-d INSTALL"), (Steps{Param("a/b"), Param("c-d"), Param("INSTALL")}));
}

TEST(CommandLineParamsFlags, QuotedFlagAfterItsMarker)
{
    EXPECT_EQ(WalkSteps(R"(prog /"INSTALL")"), Steps{Flag("INSTALL")});
    EXPECT_EQ(WalkSteps(R"(prog -"two  words" x)"), (Steps{Flag("two  words"), Param("x")}));
    EXPECT_EQ(WalkSteps(R"(prog /" x)"), (Steps{Flag(""), Param("x")}));
}

TEST(CommandLineParamsQuotes, QuotedValueKeepsItsSpacesAsTheyStand)
{
    EXPECT_EQ(WalkSteps(R"(prog "a   b  c" d)"), (Steps{Param("a   b  c"), Param("d")}));
    EXPECT_EQ(WalkSteps(R"(prog "a" b)"), (Steps{Param("a"), Param("b")}));
    // A lone quote after the opening one closes the value, which then ends in a space.
    EXPECT_EQ(WalkSteps(R"(prog "a b " c)"), (Steps{Param("a b "), Param("c")}));
}

TEST(CommandLineParamsQuotes, QuoteInsideATokenStays)
{
    EXPECT_EQ(WalkSteps(R"(prog a"b c" d"e")"), (Steps{Param(R"(a"b)"), Param(R"(c")"), Param(R"(d"e")")}));
}

TEST(CommandLineParamsQuotes, OnlyAQuoteThatEndsATokenCloses)
{
    EXPECT_EQ(WalkSteps(R"(prog "a b"c d" e)"), (Steps{Param(R"(a b"c d)"), Param("e")}));
    EXPECT_EQ(WalkSteps(R"(prog "a"b" c)"), (Steps{Param(R"(a"b)"), Param("c")}));
}

TEST(CommandLineParamsQuotes, EmptyQuotesGiveAnEmptyValue)
{
    EXPECT_EQ(WalkSteps(R"(prog "" x)"), (Steps{Param(""), Param("x")}));
}

TEST(CommandLineParamsQuotes, LoneQuoteGivesAnEmptyValueAndJoinsNothing)
{
    EXPECT_EQ(WalkSteps(R"(prog " x y")"), (Steps{Param(""), Param("x"), Param(R"(y")")}));
    EXPECT_EQ(WalkSteps(R"(prog ")"), Steps{Param("")});
}

TEST(CommandLineParamsQuotes, UnterminatedQuoteTakesTheRestAndEndsTheWalk)
{
    CommandLineParams params(R"(prog x "a  b /INSTALL  c)");
    std::string flag;
    std::string param;
    ASSERT_EQ(params.FirstParam(flag, param), 1);
    EXPECT_EQ(param, "x");
    ASSERT_EQ(params.NextParam(flag, param), 1);
    EXPECT_EQ(flag, "");
    EXPECT_EQ(param, "a  b /INSTALL  c");
    EXPECT_EQ(params.NextParam(flag, param), 0);
    EXPECT_EQ(param, "");
}

TEST(CommandLineParamsQuotes, UnterminatedQuotedProgramNameLeavesNoParameters)
{
    EXPECT_EQ(WalkSteps(R"("C:\Program Files\Vantrel.exe /INSTALL)"), Steps{});
}

TEST(CommandLineParamsWalk, NextParamBeforeFirstParamProducesNothing)
{
    CommandLineParams params("prog a b");
    std::string flag = "old flag";
    std::string param = "old param";
    EXPECT_EQ(params.NextParam(flag, param), 0);
    EXPECT_EQ(flag, "");
    EXPECT_EQ(param, "");
}

TEST(CommandLineParamsWalk, FirstParamStartsTheWalkOver)
{
    CommandLineParams params(R"(prog /a "b  c" d)");
    const Steps expected{Flag("a"), Param("b  c"), Param("d")};
    EXPECT_EQ(WalkCommandLine(params, 100).steps, expected);
    EXPECT_EQ(WalkCommandLine(params, 100).steps, expected);

    std::string flag;
    std::string param;
    ASSERT_EQ(params.FirstParam(flag, param), 1);
    ASSERT_EQ(params.FirstParam(flag, param), 1);
    EXPECT_EQ(flag, "a");
}

TEST(CommandLineParamsWalk, EachStepEmptiesTheOtherSlot)
{
    CommandLineParams params("prog /a b /c");
    std::string flag;
    std::string param;
    ASSERT_EQ(params.FirstParam(flag, param), 1);
    ASSERT_EQ(params.NextParam(flag, param), 1);
    EXPECT_EQ(flag, "");
    EXPECT_EQ(param, "b");
    ASSERT_EQ(params.NextParam(flag, param), 1);
    EXPECT_EQ(flag, "c");
    EXPECT_EQ(param, "");
}
