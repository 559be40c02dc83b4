#include "link/CommandSender.h"

#include "link/Transport.h"

namespace sonoria {

Report BuildCommandReport(int code, std::initializer_list<int> arguments) {
    Report report{};
    report[0] = kOutputReportId;
    report[1] = static_cast<std::uint8_t>(code & 0xFF);
    std::size_t position = 2;
    for (int argument : arguments) {
        if (argument == kEndOfArguments || position >= report.size()) break;
        report[position++] = static_cast<std::uint8_t>(argument & 0xFF);
    }
    return report;
}

int SendCommand(int code, std::initializer_list<int> arguments) {
    return WriteUsbData(BuildCommandReport(code, arguments));
}

}  // namespace sonoria
