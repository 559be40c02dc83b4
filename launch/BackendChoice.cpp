#include "launch/BackendChoice.h"

#include "launch/StrictNumber.h"
#include "launch/VirtualDeviceState.h"
#include "link/HidapiBackend.h"
#include "simulator/VirtualDevice.h"
#include "simulator/VirtualDeviceGroup.h"

namespace sonoria {
namespace {

constexpr std::string_view kVirtual = "--virtual";
constexpr std::string_view kVirtualModel = "--virtual=";
constexpr std::string_view kVirtualState = "--virtual-state=";
constexpr std::string_view kVirtualFault = "--virtual-fault=";
// Later answers show nothing new: the link gives up on an answer after 1.5 s.
constexpr long kMaxAnswerDelayMs = 60000;

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::optional<VirtualFault> ParseVirtualFault(std::string_view text, std::string& error) {
    const auto bad = [&](const std::string& why) {
        error = "--virtual-fault takes silent-after:N, break-after:N, slow:MS or drop-writes:N" + why;
        return std::nullopt;
    };
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return bad(", not \"" + std::string(text) + "\"");
    const std::string_view kind = text.substr(0, colon);
    const auto number = ParseStrictInteger(text.substr(colon + 1));
    VirtualFault fault;
    if (kind == "silent-after" || kind == "break-after") {
        if (!number || *number < 0) return bad(", with N a whole number of commands, 0 or more");
        fault.kind = kind == "silent-after" ? VirtualFault::Kind::SilentAfter : VirtualFault::Kind::BreakAfter;
        fault.count = static_cast<std::size_t>(*number);
    } else if (kind == "slow") {
        if (!number || *number < 0 || *number > kMaxAnswerDelayMs) {
            return bad(", with MS a whole number of milliseconds from 0 to " + std::to_string(kMaxAnswerDelayMs));
        }
        fault.kind = VirtualFault::Kind::Slow;
        fault.delay = std::chrono::milliseconds(*number);
    } else if (kind == "drop-writes") {
        if (!number || *number < 1) return bad(", with N a whole number of writes, 1 or more");
        fault.kind = VirtualFault::Kind::DropWrites;
        fault.count = static_cast<std::size_t>(*number);
    } else {
        return bad(", not \"" + std::string(text) + "\"");
    }
    return fault;
}

void ApplyVirtualFault(VirtualDevice& device, const VirtualFault& fault) {
    switch (fault.kind) {
        case VirtualFault::Kind::SilentAfter: device.SetSilentAfter(fault.count); break;
        case VirtualFault::Kind::BreakAfter: device.SetBreakAfter(fault.count); break;
        case VirtualFault::Kind::Slow: device.SetAnswerDelay(fault.delay); break;
        case VirtualFault::Kind::DropWrites: device.SetDropWrites(fault.count); break;
    }
}

BackendArgument TakeBackendArgument(std::string_view argument, BackendChoice& choice, std::string& error) {
    if (argument == kVirtual) {
        choice.useVirtual = true;
    } else if (StartsWith(argument, kVirtualModel)) {
        choice.useVirtual = true;
        std::vector<std::string> models;
        for (std::string_view rest = argument.substr(kVirtualModel.size());;) {
            const std::size_t comma = rest.find(',');
            models.emplace_back(rest.substr(0, comma));
            if (models.back().empty()) {
                error = "--virtual= needs a model name, or several separated by commas, for example "
                        "--virtual=KR710QX or --virtual=KR710Q,KR710QX";
                return BackendArgument::Invalid;
            }
            if (comma == std::string_view::npos) break;
            rest = rest.substr(comma + 1);
        }
        choice.virtualModel = models.front();
        choice.furtherVirtualModels.assign(models.begin() + 1, models.end());
    } else if (StartsWith(argument, kVirtualState)) {
        choice.useVirtual = true;
        choice.virtualState = argument.substr(kVirtualState.size());
        if (choice.virtualState.empty()) {
            error = "--virtual-state= needs the name of a mode data file";
            return BackendArgument::Invalid;
        }
    } else if (StartsWith(argument, kVirtualFault)) {
        choice.useVirtual = true;
        choice.virtualFault = ParseVirtualFault(argument.substr(kVirtualFault.size()), error);
        if (!choice.virtualFault) return BackendArgument::Invalid;
    } else {
        return BackendArgument::NotOurs;
    }
    return BackendArgument::Taken;
}

namespace {

std::shared_ptr<VirtualDevice> StartVirtualDevice(const BackendChoice& choice, const std::string& model,
                                                  std::size_t number, std::string& error) {
    auto device = std::make_shared<VirtualDevice>(model, VirtualDevicePath(number));
    if (!choice.virtualState.empty() && !LoadVirtualDeviceState(*device, choice.virtualState, &error)) return nullptr;
    // Set last: the fault counts the commands of the session, not the start.
    if (choice.virtualFault) ApplyVirtualFault(*device, *choice.virtualFault);
    return device;
}

}  // namespace

std::shared_ptr<VirtualDevice> MakeVirtualDevice(const BackendChoice& choice, std::string& error) {
    return StartVirtualDevice(choice, choice.virtualModel, 0, error);
}

std::shared_ptr<HidBackend> MakeBackend(const BackendChoice& choice, std::string& error) {
    if (!choice.useVirtual) return std::make_shared<HidapiBackend>();
    if (choice.furtherVirtualModels.empty()) return MakeVirtualDevice(choice, error);
    std::vector<std::shared_ptr<VirtualDevice>> devices;
    for (std::size_t n = 0; n <= choice.furtherVirtualModels.size(); ++n) {
        auto device =
            StartVirtualDevice(choice, n == 0 ? choice.virtualModel : choice.furtherVirtualModels[n - 1], n, error);
        if (!device) return nullptr;
        devices.push_back(std::move(device));
    }
    return std::make_shared<VirtualDeviceGroup>(std::move(devices));
}

}  // namespace sonoria
