#pragma once

#include "core/edits/StepSettings.h"
#include "core/files/Settings.h"
#include "ui/LogTransfer.h"

#include "ui/panels/Panel.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolButton;
class QVBoxLayout;

namespace puka::ui {

class BmiScale;

/// The edit panel: the situation list editor, the new start, the profile, the input
/// increments, the automatic time stamp switch and the BMI meter, which simulates BMI,
/// weight and obesity degree.
class EditPanel : public Panel {
    Q_OBJECT
public:
    EditPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("edit.html"); }
    /// Shows the profile as it is now in the fields the user has not changed since they were filled.
    void refresh() override;
    void setSituations(const QStringList& words) override;
    void appendSituation(const QString& word) override;

    /// The meter's weight and height figures from the last record and the profile.
    void setMeterBase();
    /// Redraws the meter from its scroll bar.
    void updateMeter();
    /// Shows the meter as the BMI judgement left it, with the scroll bar moved silently.
    void followJudgement();
    /// Ticks or clears chkJikan without writing the file.
    void setTimeStamp(int value);
    /// Clears the meter's weight label lblTai.
    void clearWeightLabel();
    /// Shows the steps as read from their file in the options and free fields, writing nothing.
    void showSteps(const Steps& steps);
    /// Opens the panel (unless it is open) with the new-start frame shown empty and the focus
    /// in its first field, for a folder that holds no diary yet.
    void openForNewStart();

private:
    /// The controls of one of the two increments.
    struct StepControls {
        increments::Kind kind;
        QButtonGroup* group = nullptr;
        std::array<QRadioButton*, 3> options{};
        QLineEdit* free = nullptr;
    };

    /// The panel's opening steps short of showing it.
    void prepareOpening();
    /// The BMI meter: scale, ruler, scroll bar, judgement and the two formulas.
    void buildMeter();
    QGridLayout* buildBmiFormula();
    QGridLayout* buildObesityFormula();
    /// The new start, restore, import and export buttons, with the new start form.
    void buildFileButtons();
    /// Profile and steps, the row of switches and file buttons, and the meter under them.
    QVBoxLayout* buildRightColumn(QGroupBox* profile, QGroupBox* weightSteps, QGroupBox* fatSteps);
    void chainTabOrder();
    QGroupBox* buildSituationEditor();
    QGroupBox* buildProfile();
    QGroupBox* buildSteps(StepControls& controls, const QString& title, const char* optionName, const char* freeName,
                          const QString& unit);
    QFrame* buildNewStart();
    /// The six fields of the new start form with their captions, units and notes.
    QGridLayout* buildNewStartFields(QFrame* frame);
    QHBoxLayout* buildNewStartButtons(QFrame* frame);
    /// Enter moves through the new start fields to the save button; the buttons' clicks.
    void connectNewStart(QFrame* frame);

    void paintMeter();
    void onTimeStampClicked();

    int chosenSituation() const;
    QStringList listedSituations() const;
    void markOrderChanged(bool changed);
    void onSituationPressed(int row);
    void onSituationReleased(int row);
    void onAdd();
    void onSort();
    void onDelete();
    void onDeleteAll();
    void onRename();

    void onRestore();
    void onNewStartOpen();
    void showNewStartFrame();
    void onNewStart();
    void onProfileSave();

    void showStep(const StepControls& controls, const QString& step);
    void onOption(const StepControls& controls, int index);
    void onFreeStep(const StepControls& controls);

    /// The profile fields as the panel last filled them, to tell them from typed ones.
    QStringList m_filledProfile;
    /// The drag source: the row of lstKoumoku under the pointer when its button went down.
    int m_dragSource = -1;

    QListWidget* m_situationList;
    QToolButton* m_addButton;
    QToolButton* m_sortButton;
    QToolButton* m_deleteButton;
    QToolButton* m_deleteAllButton;
    QLineEdit* m_renameField;
    QPushButton* m_renameButton;

    QPushButton* m_newStartButton;
    QPushButton* m_restoreButton;
    QPushButton* m_importButton;
    QPushButton* m_exportButton;
    LogTransfer m_transfer;
    QFrame* m_newStartFrame;
    QLineEdit* m_newNameField;
    QLineEdit* m_newHeightField;
    QLineEdit* m_newTargetField;
    QLineEdit* m_newWeightField;
    QLineEdit* m_newBodyFatField;
    QLineEdit* m_newSituationField;
    QPushButton* m_newStartSaveButton;
    QPushButton* m_newStartCancelButton;

    QLineEdit* m_nameField;
    QLineEdit* m_heightField;
    QLineEdit* m_targetField;
    QPushButton* m_profileSaveButton;

    StepControls m_weightStep{increments::Kind::Weight};
    StepControls m_fatStep{increments::Kind::Fat};

    QCheckBox* m_timeStampBox;
    QGroupBox* m_meterBox;
    BmiScale* m_scale;
    QScrollBar* m_meterScrollBar;
    QLabel* m_meterTypeLabel;
    QLabel* m_bmiFigure;
    QLabel* m_weightFigure;
    QLabel* m_heightFigure;
    QLabel* m_obesityWeightFigure;
    QLabel* m_numeratorStandardFigure;
    QLabel* m_denominatorStandardFigure;
    QLabel* m_obesityFigure;
};

} // namespace puka::ui
