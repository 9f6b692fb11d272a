#include "ErrorMessage.h"

#include "platform/os/FilePath.h"
#include "platform/os/Gbk.h"
#include "platform/os/MessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

std::vector<ErrorMessage>& Table() {
    static std::vector<ErrorMessage> table;
    return table;
}

// Fills the table before main, as the program's other start-up tables are.
struct TableInitializer {
    TableInitializer() { InitErrorMessageTable(); }
} gTableInitializer;

} // namespace

const std::vector<ErrorMessage>& ErrorMessageTable() {
    if (Table().empty())
        InitErrorMessageTable();
    return Table();
}

void InitErrorMessageTable() {
    std::vector<ErrorMessage>& table = Table();
    table.clear();
    table.push_back({kResultFailed, Utf8ToGbkLiteral("发生错误！"), MB_ICONERROR});
    table.push_back({kResultWriteFailed, Utf8ToGbkLiteral("串口发送数据出错！"), MB_ICONERROR});
    table.push_back({kResultOpenFailed, Utf8ToGbkLiteral("Open uart is not success！"), MB_ICONERROR});
    table.push_back({kResultNoUnit, Utf8ToGbkLiteral("Please choose panel！"), MB_ICONWARNING});
    table.push_back({kResultUpperLimit, Utf8ToGbkLiteral("到达上限！"), MB_ICONINFORMATION});
    table.push_back({kResultLowerLimit, Utf8ToGbkLiteral("到达下限！"), MB_ICONINFORMATION});
    table.push_back({kResultInvalidParam, Utf8ToGbkLiteral("参数非法！"), MB_ICONERROR});
    table.push_back({kResultAddressRange, Utf8ToGbkLiteral("地址范围出错！"), MB_ICONERROR});
}

void DestroyErrorMessageTable() { Table().clear(); }

int ShowErrorMessage(int code, const std::string& prefix) {
    for (const ErrorMessage& row : ErrorMessageTable()) {
        if (row.code == code) {
            AfxMessageBox(prefix + row.text, row.style, 0);
            break;
        }
    }
    return code;
}

std::string FullPathForDisplay(const std::string& path) {
    std::string local = LocalFilePath(path);
    if (local.empty() || local[0] != '/') {
        while (local.compare(0, 2, "./") == 0)
            local.erase(0, 2);
        if (char* cwd = getcwd(nullptr, 0)) {
            local = std::string(cwd) + (std::string(cwd) == "/" ? "" : "/") + local;
            std::free(cwd);
        }
    }
    std::optional<std::string> gbk = Utf8ToGbk(local);
    return gbk ? *gbk : local;
}

void TellOperator(const std::string& text, UINT style) {
    std::optional<std::string> utf8 = GbkToUtf8(text);
    std::fprintf(stderr, "%s\n", utf8 ? utf8->c_str() : text.c_str());
    std::fflush(stderr);
    AfxMessageBox(text, style, 0);
}

void ShowSaveFailure(const std::string& path, const std::string& reason) {
    TellOperator("Could not save \"" + FullPathForDisplay(path) + "\": " + reason +
                     ". The change holds until the program ends.",
                 MB_ICONERROR);
}

std::string SystemErrorText(int error) {
    char buffer[256] = {};
    // The GNU variant returns the text, which may or may not be in the buffer.
    return strerror_r(error, buffer, sizeof buffer);
}
