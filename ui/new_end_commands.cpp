#include "new_end_commands.h"

namespace quorvane {

void NewCommand::run()
{
    if (mayGiveUpDocument(context_, save_))
        initialize_();
}

bool EndCommand::run()
{
    if (!mayGiveUpDocument(context_, save_))
        return false;
    writeSettings_();
    return true;
}

} // namespace quorvane
