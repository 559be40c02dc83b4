#include "files/FileRefusal.h"

#include <cstring>
#include <iterator>
#include <string_view>

#include "state/Language.h"

namespace sonoria {
namespace {

struct RefusalTexts {
    FileRefusalReason reason;
    const char* english;
    const char* chinese;
};

// {path}, {error}, {size}, {bound} and {layout} stand for the refusal's details.
constexpr RefusalTexts kTexts[] = {
    {FileRefusalReason::CannotOpen, "cannot open {path}: {error}", "无法打开 {path}：{error}"},
    {FileRefusalReason::NotRegularFile, "{path} is not a regular file", "{path} 不是普通文件"},
    {FileRefusalReason::Empty, "{path} is empty", "{path} 是空文件"},
    {FileRefusalReason::CannotRead, "cannot read {path}: {error}", "无法读取 {path}：{error}"},
    {FileRefusalReason::ModeTooShort,
     "{path} is too short to be a mode data file: {size} bytes, {layout} needs at least {bound}",
     "{path} 太短，不是模式数据文件：{size} 字节，{layout}至少需要 {bound} 字节"},
    {FileRefusalReason::ModeTooLong,
     "{path} is too long to be a mode data file: {size} bytes, no layout is longer than {bound}",
     "{path} 太长，不是模式数据文件：{size} 字节，任何格式都不超过 {bound} 字节"},
    {FileRefusalReason::ModeVersion4, "{path} is a version 4 mode file, whose layout this program does not know",
     "{path} 是第 4 版模式文件，本程序不认识它的格式"},
    {FileRefusalReason::RemoteTooLong,
     "{path} is too long to be a remote code file: {size} bytes, it holds at most {bound}",
     "{path} 太长，不是遥控文件：{size} 字节，最多只能有 {bound} 字节"},
};

constexpr bool EveryReasonInItsRow() {
    if (std::size(kTexts) != kFileRefusalReasonCount) return false;
    for (int i = 0; i < kFileRefusalReasonCount; ++i) {
        if (static_cast<int>(kTexts[i].reason) != i) return false;
    }
    return true;
}
static_assert(EveryReasonInItsRow(), "one row per refusal reason, in the order of the enum");

std::string LayoutName(int version, bool english) {
    if (version == 0) return english ? "a file without header" : "无文件头的文件";
    const std::string number = std::to_string(version);
    return english ? "a version " + number + " file" : "版本 " + number + " 的文件";
}

void ReplaceAll(std::string& text, std::string_view field, const std::string& value) {
    for (std::size_t at = text.find(field); at != std::string::npos; at = text.find(field, at + value.size())) {
        text.replace(at, field.size(), value);
    }
}

}  // namespace

std::string FileRefusalText(const FileRefusal& refusal, int language) {
    const bool english = language != kLanguageChinese;
    const RefusalTexts& texts = kTexts[static_cast<int>(refusal.reason)];
    std::string text = english ? texts.english : texts.chinese;
    const std::string name = !refusal.path.empty() ? refusal.path : english ? "the file" : "该文件";
    // The path last: a path may hold a field's name, the other values never do.
    ReplaceAll(text, "{error}", std::strerror(refusal.systemError));
    ReplaceAll(text, "{size}", std::to_string(refusal.size));
    ReplaceAll(text, "{bound}", std::to_string(refusal.bound));
    ReplaceAll(text, "{layout}", LayoutName(refusal.layoutVersion, english));
    ReplaceAll(text, "{path}", name);
    return text;
}

bool Refuse(std::string* error, const FileRefusal& refusal) {
    if (error != nullptr) *error = FileRefusalText(refusal, CurrentLanguage());
    return false;
}

}  // namespace sonoria
