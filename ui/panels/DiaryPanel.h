#pragma once

#include "core/base/WeightRecord.h"
#include "core/edits/LogEdits.h"

#include "core/files/DataLog.h"
#include "ui/panels/Panel.h"

#include <vector>

class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace puka::ui {

class GridView;

/// The diary panel: every measurement with its one-line comment, the comment editor, and the
/// free notes memo underneath.
class DiaryPanel : public Panel {
    Q_OBJECT
public:
    DiaryPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("diary.html"); }
    /// Lists the log again as it is now; the chosen measurement stays chosen while the log
    /// still holds it, and the comment typed and the notes memo stay as they are.
    void refresh() override;

    /// Puts the notes memo as read at start-up into txtKizuki.
    void setNotes(const QString& text);
    /// The notes memo as txtKizuki holds it now.
    QString notes() const;

private:
    /// The caption, the comment field and its save button in one row.
    QHBoxLayout* buildCommentEditor();
    void buildDiaryList();
    /// The notes memo with its save button.
    QGroupBox* buildNotes();
    void onRowClicked(int gridRow, int column);
    void onCommentSave();
    void onNotesSave();

    /// The reading of the log the grid shows; the save checks the log against its records so
    /// that a comment never lands on another measurement.
    std::shared_ptr<const LogContents> m_reading;
    /// The body row (from 1) whose comment txtMemo edits; 0 while none is chosen.
    int m_row = 0;

    QLineEdit* m_commentField;
    QPushButton* m_commentSaveButton;
    GridView* m_diaryList;
    QPlainTextEdit* m_notesField;
    QPushButton* m_notesSaveButton;
};

} // namespace puka::ui
