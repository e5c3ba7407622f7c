#include "CommandLineAction.h"

namespace {

// Only ASCII letters are raised. The flags are ASCII words, so no other
// byte could take part in a match, and recognition then does not depend on
// the user's locale or code page as the C library's toupper does (which is
// also undefined for the negative chars that bytes above 0x7F become).
void UpperCaseAscii(std::string& text)
{
    for (char& character : text) {
        if (character >= 'a' && character <= 'z') {
            character = static_cast<char>(character - 'a' + 'A');
        }
    }
}

} // namespace

CommandLineAction ChooseCommandLineAction(CommandLineParams& params)
{
    std::string flag;
    std::string param;
    if (params.FirstParam(flag, param) == 0) {
        return CommandLineAction::RunMainWindow;
    }
    do {
        UpperCaseAscii(flag);
        if (flag == "INSTALL") {
            return CommandLineAction::Install;
        }
        if (flag == "UNINSTALL") {
            return CommandLineAction::Uninstall;
        }
    } while (params.NextParam(flag, param) != 0);
    return CommandLineAction::RunMainWindow;
}
