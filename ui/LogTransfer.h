#pragma once

#include <QString>

#include <functional>

namespace puka::logedits {
struct LogChange;
}

namespace puka::ui {

struct AppState;

/// The edit panel's 「インポート…」 and 「エクスポート…」: another program's table brought into
/// the log after a preview, and every record written out as CSV, through the dialogs adapter.
class LogTransfer {
public:
    /// @p showChangedLog shows the log again after an import wrote it.
    LogTransfer(AppState& state, std::function<void()> showChangedLog);

    /// Asks for a file, shows what importing it would do and, when the user confirms, imports
    /// it as one change that 元に戻す takes back whole.
    void importFile();
    /// Asks where to save the CSV and in which encoding, and writes it.
    void exportFile();

private:
    /// Keeps an import as one change that 元に戻す takes back from its backup.
    void rememberImport(const logedits::LogChange& imported);

    AppState& m_state;
    std::function<void()> m_showChangedLog;
};

} // namespace puka::ui
