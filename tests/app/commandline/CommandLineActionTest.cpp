#include "CommandLineAction.h"
#include "CommandLineWalk.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CommandLineAction ActionFor(const std::string& commandLine)
{
    CommandLineParams params(commandLine.c_str());
    return ChooseCommandLineAction(params);
}

const char* const kProgram = R"("C:\Program Files\Vantrel\Vantrel.exe" )";

} // namespace

TEST(ChooseCommandLineAction, NoParametersRunsTheMainWindow)
{
    EXPECT_EQ(ActionFor(""), CommandLineAction::RunMainWindow);
    EXPECT_EQ(ActionFor("Vantrel.exe"), CommandLineAction::RunMainWindow);
    EXPECT_EQ(ActionFor(kProgram), CommandLineAction::RunMainWindow);
}

TEST(ChooseCommandLineAction, InstallInAnyCaseAfterEitherMarker)
{
    for (const char* marker : {"/", "-"}) {
        for (const char* word : {"INSTALL", "install", "Install", "iNsTaLl"}) {
            const std::string line = kProgram + std::string(marker) + word;
            EXPECT_EQ(ActionFor(line), CommandLineAction::Install) << line;
        }
    }
}

TEST(ChooseCommandLineAction, UninstallInAnyCaseAfterEitherMarker)
{
    for (const char* marker : {"/", "-"}) {
        for (const char* word : {"UNINSTALL", "uninstall", "Uninstall", "unINSTALL"}) {
            const std::string line = kProgram + std::string(marker) + word;
            EXPECT_EQ(ActionFor(line), CommandLineAction::Uninstall) << line;
        }
    }
}

TEST(ChooseCommandLineAction, WordsThatAreNotExactlyAFlagAreIgnored)
{
    for (const char* line : {"Vantrel.exe INSTALL", "Vantrel.exe install", "Vantrel.exe /INSTALLX",
             "Vantrel.exe /INSTAL", "Vantrel.exe -UNINSTALLED", "Vantrel.exe //INSTALL", "Vantrel.exe --install",
             "Vantrel.exe / INSTALL", "Vantrel.exe /IN STALL", "Vantrel.exe /INSTALL\xA0"}) {
        EXPECT_EQ(ActionFor(line), CommandLineAction::RunMainWindow) << Escaped(line);
    }
}

TEST(ChooseCommandLineAction, FirstRecognisedFlagDecides)
{
    EXPECT_EQ(ActionFor("Vantrel.exe /UNINSTALL /INSTALL"), CommandLineAction::Uninstall);
    EXPECT_EQ(ActionFor("Vantrel.exe -install -uninstall"), CommandLineAction::Install);
}

TEST(ChooseCommandLineAction, PlainWordsAndOtherFlagsBeforeTheFlagArePassedOver)
{
    EXPECT_EQ(ActionFor("Vantrel.exe word /INSTALL"), CommandLineAction::Install);
    EXPECT_EQ(ActionFor("Vantrel.exe /x -y UNINSTALL \"a b\" -uninstall"), CommandLineAction::Uninstall);
}

TEST(ChooseCommandLineAction, TabJoinedFlagsAreNotRecognised)
{
    EXPECT_EQ(ActionFor("Vantrel.exe /INSTALL\t/UNINSTALL"), CommandLineAction::RunMainWindow);
    EXPECT_EQ(ActionFor("Vantrel.exe\t/INSTALL"), CommandLineAction::RunMainWindow);
}

TEST(ChooseCommandLineAction, QuotedFlagAfterItsMarkerIsRecognised)
{
    EXPECT_EQ(ActionFor(R"(Vantrel.exe /"INSTALL")"), CommandLineAction::Install);
    EXPECT_EQ(ActionFor(R"(Vantrel.exe -"Uninstall")"), CommandLineAction::Uninstall);
}

TEST(ChooseCommandLineAction, FlagLikeWordsInTheProgramPathAreNotFlags)
{
    EXPECT_EQ(ActionFor(R"("C:\Program Files\-INSTALL\Vantrel.exe")"), CommandLineAction::RunMainWindow);
    EXPECT_EQ(ActionFor(R"("C:\Tools /UNINSTALL\Vantrel.exe" -install)"), CommandLineAction::Install);
    // Unquoted, the path's later words are parameters: a plain word is passed over.
    EXPECT_EQ(ActionFor(R"(C:\Program Files\Vantrel\Vantrel.exe)"), CommandLineAction::RunMainWindow);
}

TEST(ChooseCommandLineAction, FlagInsideAQuotedValueIsNotAFlag)
{
    EXPECT_EQ(ActionFor(R"(Vantrel.exe "x /INSTALL")"), CommandLineAction::RunMainWindow);
    EXPECT_EQ(ActionFor(R"(Vantrel.exe "x /INSTALL)"), CommandLineAction::RunMainWindow);
}
