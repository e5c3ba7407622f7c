#include "CommandLineAction.h"

namespace {

// Only ASCII letters are raised. The flags are ASCII words, and the C
// library's toupper follows the user's locale: under a Turkish one it would
// turn "i" into a dotted capital I, so "/install" would not be recognised.
// A byte above 0x7F stays as it is and keeps the flag from matching, which
// is right: no spelling with such a byte is one of our flags.
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
