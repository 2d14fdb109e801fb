#pragma once

#include "LogEdits.h"
#include "WeightRecord.h"

#include "Panel.h"

#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace puka::ui {

class GridView;

/// The diary panel: every measurement with its one-line comment, the comment editor, and the
/// free notes memo underneath.
class MemoPanel : public Panel {
    Q_OBJECT
public:
    MemoPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("diary.html"); }

    /// Puts the notes memo as read at start-up into txtKizuki.
    void setNotes(const QString& text);
    /// Reads the log again into the list, scrolled where it was; no row is chosen then.
    void showChangedLog() override;

private:
    /// Fills the list from the log.
    void DSP_MEMO();
    void onRowClicked(int gridRow, int col);
    void onCommentSave();
    void onNotesSave();

    /// The records the grid shows, as they were read when the panel opened; the save checks
    /// the log against them so that a comment never lands on another measurement.
    std::vector<WeightRecord> m_shown;
    /// The body row (from 1) whose comment txtMemo edits; 0 while none is chosen.
    int m_row = 0;

    QLineEdit* txtMemo;
    QPushButton* cmdMemoHozon;
    GridView* msgMemoList;
    QPlainTextEdit* txtKizuki;
    QPushButton* cmdKizukiHozon;
};

} // namespace puka::ui
