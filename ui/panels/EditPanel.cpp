#include "ui/panels/EditPanel.h"

#include "core/base/Messages.h"
#include "core/edits/LogEdits.h"
#include "core/edits/NewStart.h"
#include "core/edits/ProfileEdit.h"
#include "core/edits/SituationEditing.h"
#include "core/files/Backups.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"
#include "ui/AppState.h"
#include "ui/RecordEditor.h"
#include "ui/controls/ButtonFace.h"
#include "ui/controls/Dialogs.h"
#include "ui/controls/Twips.h"
#include "ui/controls/Widgets.h"
#include "ui/panels/BmiScale.h"
#include "ui/panels/PanelHost.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace puka::ui {
namespace {

const QString kRuler = QStringLiteral(
    "17.......18...........19...........20...........21...........22..........23...........24..........25.........."
    ".26..........27...........28...........29...........30..........31......32");

QLabel* figure(const char* name, QWidget* parent) {
    QLabel* l = widgets::namedLabel(QString::fromUtf8(name), parent);
    l->setAlignment(Qt::AlignCenter);
    l->setMinimumWidth(scaledPixels(56, parent));
    // as wide as its figure: the formulas keep their shape at any window width
    l->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    l->setStyleSheet(QStringLiteral("background: white; color: #1a1a1a; border: 1px solid #c9c0d6; "
                                    "border-radius: 3px; padding: 1px 4px; font-weight: bold;"));
    return l;
}

QLabel* text(const QString& t, QWidget* parent) {
    auto* l = new QLabel(t, parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QFrame* fractionBar(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setStyleSheet(QStringLiteral("color: #4b3f5e;"));
    return line;
}

// The situation list of the editor: it reports the row under the pointer when the left
// button goes down and when it comes up, which is all the drag rule needs, and a choice
// made with the keyboard.
class SituationListWidget : public QListWidget {
public:
    using QListWidget::QListWidget;

    std::function<void(int)> pressed;
    std::function<void(int)> released;
    std::function<void()> chosenByKey;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QListWidget::mousePressEvent(event);
        if (event->button() == Qt::LeftButton && pressed)
            pressed(indexAt(event->position().toPoint()).row());
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QListWidget::mouseReleaseEvent(event);
        if (event->button() != Qt::LeftButton || !released)
            return;
        // released over no item: the choice stays where the pointer last chose one
        const QModelIndex at = indexAt(event->position().toPoint());
        released(at.isValid() ? at.row() : currentRow());
    }
    void keyPressEvent(QKeyEvent* event) override {
        QListWidget::keyPressEvent(event);
        if (currentItem() && currentItem()->isSelected() && chosenByKey)
            chosenByKey();
    }
};

QToolButton* pictureButton(const char* name, const QString& caption, QWidget* parent) {
    QToolButton* b = widgets::pictureButton(QString::fromUtf8(name), 28, parent);
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setFixedSize(scaledPixels(76, parent), scaledPixels(58, parent));
    return b;
}

QLabel* note(const QString& t, QWidget* parent) {
    auto* l = new QLabel(t, parent);
    l->setForegroundRole(QPalette::PlaceholderText);
    return l;
}

} // namespace

EditPanel::EditPanel(AppState& state, PanelHost& host, QWidget* parent)
    : Panel(state, host, "fraSettei", parent), m_transfer(state, [this] {
          // a new start now would put the imported records aside
          m_newStartFrame->setVisible(false);
          m_host.noteFileWritten(files::kData);
          m_host.buildMainView();
      }) {

    m_timeStampBox = new QCheckBox(QStringLiteral("一言日記に自動的に時間を記録"), this);
    m_timeStampBox->setObjectName(QStringLiteral("chkJikan"));
    connect(m_timeStampBox, &QCheckBox::clicked, this, &EditPanel::onTimeStampClicked);

    buildMeter();
    QGroupBox* editor = buildSituationEditor();
    QGroupBox* profile = buildProfile();
    QGroupBox* weightSteps = buildSteps(m_weightStep, QStringLiteral("体重入力 刻み指定　（体重計の刻み）"),
                                        "optKizami", "txtKizami", QStringLiteral("Ｋｇ"));
    weightSteps->setToolTip(QStringLiteral("メイン画面での体重指定の刻みを変更できます"));
    QGroupBox* fatSteps = buildSteps(m_fatStep, QStringLiteral("体脂肪率入力 刻み指定　（体脂肪率計の刻み）"),
                                     "optKizami1", "txtKizami2", QStringLiteral("％"));

    buildFileButtons();
    QVBoxLayout* rightColumn = buildRightColumn(profile, weightSteps, fatSteps);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor);
    layout->addLayout(rightColumn, 1);
    chainTabOrder();
}

void EditPanel::buildMeter() {
    m_meterBox = new QGroupBox(QStringLiteral("　ＢＭＩメーター (Body Mass Index)　と　肥満度　"), this);
    m_meterBox->setObjectName(QStringLiteral("fraMeter"));
    m_meterBox->setToolTip(QStringLiteral("ＢＭＩと肥満度のシミュレーションができます"));

    m_scale = new BmiScale(BmiMeter::kMeterScale, QStringLiteral("Image2"), m_meterBox);
    // the ruler and the scroll bar span the bands from 17 to 32 exactly
    const int bandWidth = twipsToPixels(15 * BmiMeter::kMeterScale, this);
    auto* ruler = new QLabel(kRuler, m_meterBox);
    ruler->setObjectName(QStringLiteral("lblRuler"));
    QFont rf = ruler->font();
    rf.setPointSizeF(7);
    rf.setPointSizeF(7 * 0.97 * bandWidth / QFontMetricsF(rf, ruler).horizontalAdvance(kRuler));
    ruler->setFont(rf);
    ruler->setFixedWidth(bandWidth);
    m_meterScrollBar = new QScrollBar(Qt::Horizontal, m_meterBox);
    m_meterScrollBar->setObjectName(QStringLiteral("HScroll1"));
    m_meterScrollBar->setRange(BmiMeter::kScrollMin, BmiMeter::kScrollMax);
    m_meterScrollBar->setSingleStep(1);
    m_meterScrollBar->setPageStep(10);
    m_meterScrollBar->setValue(m_state.meter.scrollValue());
    m_meterScrollBar->setFixedWidth(bandWidth);
    // the arrow keys move the meter as the mouse does
    m_meterScrollBar->setFocusPolicy(Qt::StrongFocus);
    connect(m_meterScrollBar, &QScrollBar::valueChanged, this, [this] { updateMeter(); });

    m_meterTypeLabel = widgets::namedLabel(QStringLiteral("lblHyouka"), m_meterBox);
    m_meterTypeLabel->setAlignment(Qt::AlignCenter);
    m_meterTypeLabel->setMinimumWidth(scaledPixels(160, this));
    m_bmiFigure = figure("lblBmiFigure", m_meterBox);
    m_weightFigure = figure("lblWeightFigure", m_meterBox);
    m_heightFigure = figure("lblHeightFigure", m_meterBox);
    m_obesityWeightFigure = figure("lblTai", m_meterBox);
    m_numeratorStandardFigure = figure("lblHyojun(0)", m_meterBox);
    m_denominatorStandardFigure = figure("lblHyojun(1)", m_meterBox);
    m_obesityFigure = figure("lblHiman", m_meterBox);

    QGridLayout* bmiFormula = buildBmiFormula();
    QGridLayout* obesityFormula = buildObesityFormula();
    auto* judgeRow = new QHBoxLayout;
    judgeRow->addWidget(text(QStringLiteral("肥満指数判定"), m_meterBox));
    judgeRow->addWidget(m_meterTypeLabel);
    judgeRow->addStretch(1);
    judgeRow->addWidget(text(QStringLiteral("適正　２２"), m_meterBox));

    auto* meter = new QVBoxLayout(m_meterBox);
    meter->addWidget(m_scale, 0, Qt::AlignHCenter);
    meter->addWidget(ruler, 0, Qt::AlignHCenter);
    meter->addWidget(m_meterScrollBar, 0, Qt::AlignHCenter);
    meter->addSpacing(6);
    meter->addLayout(judgeRow);
    meter->addSpacing(6);
    meter->addLayout(bmiFormula);
    meter->addSpacing(6);
    meter->addLayout(obesityFormula);
}

QGridLayout* EditPanel::buildBmiFormula() {
    // BMI(体格指数) [bmi] ＝ 体重 / 身長²
    auto* bmiFormula = new QGridLayout;
    bmiFormula->addWidget(text(QStringLiteral("BMI(体格指数)"), m_meterBox), 0, 0, 3, 1);
    bmiFormula->addWidget(m_bmiFigure, 0, 1, 3, 1);
    bmiFormula->addWidget(text(QStringLiteral("＝"), m_meterBox), 0, 2, 3, 1);
    auto* weightCell = new QHBoxLayout;
    weightCell->addWidget(m_weightFigure);
    weightCell->addWidget(text(QStringLiteral("体重（Ｋｇ）"), m_meterBox));
    bmiFormula->addLayout(weightCell, 0, 3);
    bmiFormula->addWidget(fractionBar(m_meterBox), 1, 3);
    auto* heightCell = new QHBoxLayout;
    heightCell->addWidget(m_heightFigure);
    heightCell->addWidget(text(QStringLiteral("身長（ｍ）"), m_meterBox));
    auto* exponent = new QLabel(QStringLiteral("2"), m_meterBox);
    exponent->setAlignment(Qt::AlignTop);
    heightCell->addWidget(exponent);
    bmiFormula->addLayout(heightCell, 2, 3);
    bmiFormula->setColumnStretch(4, 1);

    return bmiFormula;
}

QGridLayout* EditPanel::buildObesityFormula() {
    // 肥満度（％） ＝ (体重 − 標準体重) / 標準体重 × １００
    auto* obesityFormula = new QGridLayout;
    obesityFormula->addWidget(text(QStringLiteral("肥満度（％）"), m_meterBox), 0, 0, 3, 1);
    obesityFormula->addWidget(m_obesityFigure, 0, 1, 3, 1);
    obesityFormula->addWidget(text(QStringLiteral("＝"), m_meterBox), 0, 2, 3, 1);
    auto* numerator = new QHBoxLayout;
    numerator->addWidget(m_obesityWeightFigure);
    numerator->addWidget(text(QStringLiteral("体重（Ｋｇ）           －標準体重（Ｋｇ）"), m_meterBox));
    numerator->addWidget(m_numeratorStandardFigure);
    obesityFormula->addLayout(numerator, 0, 3);
    obesityFormula->addWidget(fractionBar(m_meterBox), 1, 3);
    auto* denominator = new QHBoxLayout;
    denominator->addStretch(1);
    denominator->addWidget(text(QStringLiteral("標準体重（Ｋｇ）"), m_meterBox));
    denominator->addWidget(m_denominatorStandardFigure);
    denominator->addStretch(1);
    obesityFormula->addLayout(denominator, 2, 3);
    obesityFormula->addWidget(text(QStringLiteral("×１００"), m_meterBox), 0, 4, 3, 1);

    return obesityFormula;
}

void EditPanel::buildFileButtons() {
    m_newStartButton = widgets::pushButton(QStringLiteral("cmdNew1"), QStringLiteral("新規にスタートするとき"), this);
    m_newStartButton->setMinimumSize(m_newStartButton->sizeHint().width() + scaledPixels(24, this),
                                     scaledPixels(30, this));
    m_newStartFrame = buildNewStart();
    m_restoreButton = widgets::pushButton(QStringLiteral("cmdRestore"), QStringLiteral("バックアップから戻す…"), this);
    m_restoreButton->setToolTip(QStringLiteral("自動的に作ったバックアップから記録を戻します"));
    m_restoreButton->setMinimumSize(m_restoreButton->sizeHint().width() + scaledPixels(24, this),
                                    scaledPixels(30, this));
    connect(m_restoreButton, &QPushButton::clicked, this, &EditPanel::onRestore);
    const auto transferButton = [this](const char* name, const QString& caption, const QString& tip) {
        QPushButton* button = widgets::pushButton(QString::fromUtf8(name), caption, this);
        button->setToolTip(tip);
        button->setMinimumSize(button->sizeHint().width() + scaledPixels(24, this), scaledPixels(30, this));
        return button;
    };
    m_importButton =
        transferButton("cmdImport", QStringLiteral("インポート…"),
                       QStringLiteral("ほかのソフトや体重計のアプリの CSV ファイルから記録を取り込みます"));
    m_exportButton = transferButton("cmdExport", QStringLiteral("エクスポート…"),
                                    QStringLiteral("すべての記録を表計算ソフトで開ける CSV ファイルに書き出します"));
    connect(m_importButton, &QPushButton::clicked, this, [this] { m_transfer.importFile(); });
    connect(m_exportButton, &QPushButton::clicked, this, [this] { m_transfer.exportFile(); });
}

QVBoxLayout* EditPanel::buildRightColumn(QGroupBox* profile, QGroupBox* weightSteps, QGroupBox* fatSteps) {
    auto* stepColumn = new QVBoxLayout;
    stepColumn->addWidget(weightSteps);
    stepColumn->addWidget(fatSteps);

    auto* topRow = new QHBoxLayout;
    topRow->addWidget(profile, 1);
    topRow->addLayout(stepColumn);

    auto* switchRow = new QHBoxLayout;
    switchRow->addWidget(m_timeStampBox);
    switchRow->addStretch(1);
    switchRow->addWidget(m_importButton);
    switchRow->addWidget(m_exportButton);
    switchRow->addWidget(m_restoreButton);
    switchRow->addWidget(m_newStartButton);

    // the new start frame takes the meter's place while it is open
    auto* lower = new QGridLayout;
    lower->addWidget(m_meterBox, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    lower->addWidget(m_newStartFrame, 0, 0);
    lower->setRowStretch(1, 1);

    auto* right = new QVBoxLayout;
    right->addLayout(topRow);
    right->addLayout(switchRow);
    right->addLayout(lower, 1);
    return right;
}

void EditPanel::chainTabOrder() {
    // the list editor on the left, then the right side from the top; the new start form
    // takes the meter's place and its own order
    setTabChain({m_situationList,
                 m_addButton,
                 m_sortButton,
                 m_deleteButton,
                 m_deleteAllButton,
                 m_renameField,
                 m_renameButton,
                 m_nameField,
                 m_heightField,
                 m_targetField,
                 m_profileSaveButton,
                 m_weightStep.options[0],
                 m_weightStep.options[1],
                 m_weightStep.options[2],
                 m_weightStep.free,
                 m_fatStep.options[0],
                 m_fatStep.options[1],
                 m_fatStep.options[2],
                 m_fatStep.free,
                 m_timeStampBox,
                 m_importButton,
                 m_exportButton,
                 m_restoreButton,
                 m_newStartButton,
                 m_meterScrollBar,
                 m_newNameField});
}

QGroupBox* EditPanel::buildSituationEditor() {
    auto* box = new QGroupBox(QStringLiteral("状況リスト編集"), this);
    box->setObjectName(QStringLiteral("fraKoumoku"));
    box->setToolTip(QStringLiteral("状況データの編集枠です"));

    auto* list = new SituationListWidget(box);
    list->setObjectName(QStringLiteral("lstKoumoku"));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumWidth(scaledPixels(180, this));
    list->pressed = [this](int row) { onSituationPressed(row); };
    list->released = [this](int row) { onSituationReleased(row); };
    list->chosenByKey = [this] { onSituationPressed(-1); };
    m_situationList = list;

    m_addButton = pictureButton("cmdNew2", QStringLiteral("追加"), box);
    m_sortButton = pictureButton("cmdSort", QStringLiteral("並び替え"), box);
    m_deleteButton = pictureButton("cmdDel", QStringLiteral("削除"), box);
    m_deleteAllButton = pictureButton("cmdDel2", QStringLiteral("全削除"), box);

    auto* arrow = new QLabel(QStringLiteral("↓"), box);
    arrow->setAlignment(Qt::AlignCenter);
    m_renameField = widgets::lineEdit(QStringLiteral("txtChg"), box);
    m_renameButton = widgets::pushButton(QStringLiteral("cmdChg"), QStringLiteral("状況コメントを入れ替える"), box);

    auto* buttons = new QVBoxLayout;
    for (QToolButton* b : {m_addButton, m_sortButton, m_deleteButton, m_deleteAllButton})
        buttons->addWidget(b);
    buttons->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(m_situationList, 1);
    top->addLayout(buttons);

    auto* layout = new QVBoxLayout(box);
    layout->addLayout(top, 1);
    layout->addWidget(arrow);
    layout->addWidget(m_renameField);
    layout->addWidget(m_renameButton);

    connect(m_addButton, &QToolButton::clicked, this, &EditPanel::onAdd);
    connect(m_sortButton, &QToolButton::clicked, this, &EditPanel::onSort);
    connect(m_deleteButton, &QToolButton::clicked, this, &EditPanel::onDelete);
    connect(m_deleteAllButton, &QToolButton::clicked, this, &EditPanel::onDeleteAll);
    connect(m_renameButton, &QPushButton::clicked, this, &EditPanel::onRename);
    return box;
}

QGroupBox* EditPanel::buildProfile() {
    auto* box = new QGroupBox(QStringLiteral("プライベートデータ"), this);
    box->setObjectName(QStringLiteral("fraPriData"));
    box->setToolTip(QStringLiteral("プライベートデータ編集枠です"));
    m_nameField = widgets::lineEdit(QStringLiteral("txtPriData"), box);
    m_heightField = widgets::lineEdit(QStringLiteral("txtSincyou"), box);
    m_targetField = widgets::lineEdit(QStringLiteral("txtMokuTai"), box);
    for (QLineEdit* number : {m_heightField, m_targetField}) {
        number->setAlignment(Qt::AlignRight);
        number->setMaximumWidth(scaledPixels(90, this));
    }
    m_profileSaveButton =
        new QPushButton(QIcon(QStringLiteral(":/pictures/buttons/cmdTaiHozon.svg")), QStringLiteral("データ変更"), box);
    m_profileSaveButton->setObjectName(QStringLiteral("cmdPHozon1"));
    m_profileSaveButton->setToolTip(QStringLiteral("表示中のデータで保存します"));

    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("名前"), box), 0, 0);
    grid->addWidget(m_nameField, 0, 1, 1, 2);
    grid->addWidget(note(QStringLiteral("※空欄可"), box), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("身長"), box), 1, 0);
    grid->addWidget(m_heightField, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("ｃｍ"), box), 1, 2);
    grid->addWidget(note(QStringLiteral("※半角文字で入力"), box), 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("目標体重"), box), 2, 0);
    grid->addWidget(m_targetField, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Ｋｇ"), box), 2, 2);
    grid->addWidget(note(QStringLiteral("※半角文字で入力"), box), 2, 3);
    grid->addWidget(m_profileSaveButton, 3, 0, 1, 4, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    connect(m_profileSaveButton, &QPushButton::clicked, this, &EditPanel::onProfileSave);
    return box;
}

QGroupBox* EditPanel::buildSteps(StepControls& controls, const QString& title, const char* optionName,
                                 const char* freeName, const QString& unit) {
    auto* box = new QGroupBox(title, this);
    controls.group = new QButtonGroup(box);
    const QStringList captions = increments::optionCaptions(controls.kind);
    auto* options = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        QRadioButton* option = widgets::radioButton(
            QStringLiteral("%1(%2)").arg(QString::fromUtf8(optionName)).arg(i + 1), captions.value(i), box);
        controls.group->addButton(option, i + 1);
        controls.options[static_cast<size_t>(i)] = option;
        options->addWidget(option);
        const StepControls* c = &controls;
        connect(option, &QRadioButton::clicked, this, [this, c, i] { onOption(*c, i + 1); });
    }
    options->addStretch(1);

    controls.free = widgets::lineEdit(QString::fromUtf8(freeName), box);
    controls.free->setToolTip(QStringLiteral("入力してEnterキー"));
    controls.free->setAlignment(Qt::AlignRight);
    controls.free->setFixedWidth(scaledPixels(64, this));
    auto* freeRow = new QHBoxLayout;
    freeRow->addWidget(new QLabel(QStringLiteral("任意"), box));
    freeRow->addWidget(controls.free);
    freeRow->addWidget(new QLabel(unit, box));
    freeRow->addStretch(1);
    const StepControls* c = &controls;
    connect(controls.free, &QLineEdit::returnPressed, this, [this, c] { onFreeStep(*c); });

    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(4);
    layout->addLayout(options);
    layout->addLayout(freeRow);
    return box;
}

QFrame* EditPanel::buildNewStart() {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraNew"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    // the texts on the frame's light face are dark whatever the palette
    frame->setStyleSheet(QStringLiteral("QFrame#fraNew { background: #fff8ef; border: 2px solid #e3a868; "
                                        "border-radius: 6px; } "
                                        "QFrame#fraNew QLabel, QFrame#fraNew QCheckBox { color: #2e2a38; }"));

    auto* title = new QLabel(QStringLiteral("新規スタート登録枠"), frame);
    QFont tf = title->font();
    tf.setBold(true);
    tf.setPointSizeF(tf.pointSizeF() + 1);
    title->setFont(tf);

    QGridLayout* grid = buildNewStartFields(frame);
    QHBoxLayout* buttons = buildNewStartButtons(frame);

    auto* content = new QVBoxLayout;
    content->addWidget(title);
    content->addSpacing(6);
    content->addLayout(grid);
    content->addSpacing(10);
    content->addLayout(buttons);

    auto* centred = new QHBoxLayout(frame);
    centred->setContentsMargins(16, 12, 16, 12);
    centred->addStretch(1);
    centred->addLayout(content);
    centred->addStretch(1);

    connectNewStart(frame);
    frame->setVisible(false);
    return frame;
}

QGridLayout* EditPanel::buildNewStartFields(QFrame* frame) {
    m_newNameField = widgets::lineEdit(QStringLiteral("txtPriData1"), frame);
    m_newHeightField = widgets::lineEdit(QStringLiteral("txtSincyou1"), frame);
    m_newTargetField = widgets::lineEdit(QStringLiteral("txtMokuTai1"), frame);
    m_newWeightField = widgets::lineEdit(QStringLiteral("txtNowTai"), frame);
    m_newBodyFatField = widgets::lineEdit(QStringLiteral("txtNowShi"), frame);
    m_newSituationField = widgets::lineEdit(QStringLiteral("txtNowJyou"), frame);
    m_newSituationField->setText(newstart::defaultSituation());

    struct Row {
        const char* caption;
        QLineEdit* field;
        const char* unit;
        const char* note;
    };
    const Row rows[] = {
        {"名前", m_newNameField, "", "※空欄可"},
        {"身長", m_newHeightField, "ｃｍ", "※半角文字で入力"},
        {"目標体重", m_newTargetField, "Ｋｇ", "※半角文字で入力"},
        {"現体重", m_newWeightField, "Ｋｇ", "※半角文字で入力"},
        {"現体脂肪率", m_newBodyFatField, "％", "※半角文字で入力"},
        {"初期状況", m_newSituationField, "", ""},
    };
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    int r = 0;
    for (const Row& row : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(row.caption), frame), r, 0);
        // the unit follows its field directly, the note after it
        auto* line = new QHBoxLayout;
        line->addWidget(row.field);
        const QString unit = QString::fromUtf8(row.unit);
        if (!unit.isEmpty()) {
            auto* u = new QLabel(unit, frame);
            u->setFixedWidth(scaledPixels(34, frame));
            line->addWidget(u);
        }
        line->addWidget(note(QString::fromUtf8(row.note), frame));
        line->addStretch(1);
        grid->addLayout(line, r, 1);
        ++r;
    }
    for (QLineEdit* text : {m_newNameField, m_newSituationField})
        text->setFixedWidth(scaledPixels(220, frame));
    for (QLineEdit* number : {m_newHeightField, m_newTargetField, m_newWeightField, m_newBodyFatField}) {
        number->setAlignment(Qt::AlignRight);
        number->setFixedWidth(scaledPixels(100, frame));
    }

    return grid;
}

QHBoxLayout* EditPanel::buildNewStartButtons(QFrame* frame) {
    m_newStartSaveButton = new QPushButton(QStringLiteral("新規登録"), frame);
    m_newStartSaveButton->setObjectName(QStringLiteral("cmdStHozon"));
    // Enter at the end of the field chain starts as a click does
    m_newStartSaveButton->setAutoDefault(true);
    m_newStartCancelButton = widgets::pushButton(QStringLiteral("cmdYame"), QStringLiteral("キャンセル"), frame);
    for (QPushButton* b : {m_newStartSaveButton, m_newStartCancelButton})
        b->setMinimumSize(scaledPixels(100, frame), scaledPixels(30, frame));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_newStartSaveButton);
    buttons->addWidget(m_newStartCancelButton);

    return buttons;
}

void EditPanel::connectNewStart(QFrame* frame) {
    const QList<QWidget*> chain = {m_newNameField,    m_newHeightField,    m_newTargetField,    m_newWeightField,
                                   m_newBodyFatField, m_newSituationField, m_newStartSaveButton};
    for (int i = 0; i + 1 < chain.size(); ++i) {
        auto* field = static_cast<QLineEdit*>(chain[i]);
        QWidget* next = chain[i + 1];
        connect(field, &QLineEdit::returnPressed, this, [next] { next->setFocus(Qt::TabFocusReason); });
        setTabOrder(chain[i], next);
    }
    setTabOrder(m_newStartSaveButton, m_newStartCancelButton);

    connect(m_newStartSaveButton, &QPushButton::clicked, this, &EditPanel::onNewStart);
    connect(m_newStartCancelButton, &QPushButton::clicked, frame, &QFrame::hide);
    connect(m_newStartButton, &QPushButton::clicked, this, &EditPanel::onNewStartOpen);
}

void EditPanel::open() {
    prepareOpening();
    showWithGuidance(editing::guidanceText());
}

void EditPanel::prepareOpening() {
    m_host.hidePanels();
    const profileedit::Fields fields = profileedit::fieldsOf(m_state.profile);
    m_nameField->setText(fields.name);
    m_heightField->setText(fields.heightText);
    m_targetField->setText(fields.targetText);
    m_filledProfile = {fields.name, fields.heightText, fields.targetText};
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{m_sortButton, m_deleteButton, m_renameButton})
        b->setEnabled(false);
}

void EditPanel::refresh() {
    const profileedit::Fields fields = profileedit::fieldsOf(m_state.profile);
    const QStringList now = {fields.name, fields.heightText, fields.targetText};
    const QList<QLineEdit*> edits = {m_nameField, m_heightField, m_targetField};
    for (qsizetype i = 0; i < edits.size(); ++i)
        if (i < m_filledProfile.size() && edits[i]->text() == m_filledProfile[i])
            edits[i]->setText(now[i]);
    m_filledProfile = now;
}

void EditPanel::setSituations(const QStringList& words) {
    m_situationList->clear();
    m_situationList->addItems(words);
}

void EditPanel::appendSituation(const QString& word) {
    m_situationList->addItem(word);
}

int EditPanel::chosenSituation() const {
    // after a refill the list may have a current row that nobody chose
    const QListWidgetItem* item = m_situationList->currentItem();
    return item && item->isSelected() ? m_situationList->currentRow() : -1;
}

QStringList EditPanel::listedSituations() const {
    QStringList words;
    for (int i = 0; i < m_situationList->count(); ++i)
        words.append(m_situationList->item(i)->text());
    return words;
}

void EditPanel::markOrderChanged(bool changed) {
    setButtonFace(m_sortButton,
                  changed ? std::optional<QColor>(QColor::fromRgb(editing::kOrderChangedColour)) : std::nullopt);
}

void EditPanel::onSituationPressed(int row) {
    m_dragSource = row;
    if (chosenSituation() < 0)
        return;
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{m_sortButton, m_deleteButton, m_renameButton})
        b->setEnabled(true);
}

void EditPanel::onSituationReleased(int row) {
    const int source = m_dragSource;
    m_dragSource = -1;
    const auto drop = editing::dropWord(listedSituations(), source, row);
    if (!drop)
        return;
    // only this list takes the new order; the file and the other lists wait for cmdSort
    setSituations(drop->words);
    m_situationList->setCurrentRow(drop->placedAt);
    markOrderChanged(true);
}

void EditPanel::onAdd() {
    Dialogs& dialogs = *m_state.dialogs;
    const Notice prompt = editing::addPrompt();
    const QString word = dialogs.input(prompt.text, prompt.title);
    if (word.isEmpty())
        return;
    bool added = false;
    const Status s = m_state.editor->run(messages::addSituationTitle(),
                                         [&] { return editing::addWord(m_state.workDir, word, &added); });
    m_host.noteFileWritten(files::kSituations);
    if (!s) {
        showFailure(dialogs, s);
        return;
    }
    if (added)
        m_host.appendSituation(word);
}

void EditPanel::onSort() {
    Dialogs& dialogs = *m_state.dialogs;
    QStringList words;
    const Status s = m_state.editor->run(QStringLiteral("状況の並び替え"), [&] {
        return editing::saveOrder(m_state.workDir, listedSituations(), &words);
    });
    m_host.noteFileWritten(files::kSituations);
    if (!s) {
        showFailure(dialogs, s);
        return;
    }
    // the lists show the file as written, words added elsewhere included; the chosen word stays
    // chosen where it still stands in the same place
    const int chosen = chosenSituation();
    const QString chosenWord = chosen >= 0 ? m_situationList->item(chosen)->text() : QString();
    m_host.setSituationLists(words);
    if (chosen >= 0 && chosen < words.size() && words.at(chosen) == chosenWord)
        m_situationList->setCurrentRow(chosen);
    markOrderChanged(false);
    const Notice done = editing::sortDone();
    dialogs.message(done.text, done.title, Dialogs::Icon::Information);
}

void EditPanel::onDelete() {
    Dialogs& dialogs = *m_state.dialogs;
    const int row = chosenSituation();
    if (row < 0) {
        const Notice none = editing::noChoiceToDelete();
        dialogs.message(none.text, none.title, Dialogs::Icon::Exclamation);
        return;
    }
    const Notice question = editing::deleteQuestion(m_situationList->item(row)->text());
    if (dialogs.message(question.text, question.title, Dialogs::Icon::Exclamation, Dialogs::Buttons::OkCancel) !=
        Dialogs::Answer::Ok)
        return;
    std::optional<Result<QStringList>> remaining;
    m_state.editor->run(QStringLiteral("状況の削除"), [&] {
        remaining = editing::deleteWord(m_state.workDir, listedSituations(), row);
        return remaining->status();
    });
    m_host.noteFileWritten(files::kSituations);
    if (!remaining || !*remaining) {
        if (remaining)
            showFailure(dialogs, remaining->status());
        return;
    }
    m_host.setSituationLists(**remaining);
    // the file now holds the editor's order, a dragged one included
    markOrderChanged(false);
    const Notice done = editing::deleteDone();
    dialogs.message(done.text, done.title, Dialogs::Icon::Information);
}

void EditPanel::onDeleteAll() {
    Dialogs& dialogs = *m_state.dialogs;
    const Notice question = editing::deleteAllQuestion();
    if (dialogs.message(question.text, question.title, Dialogs::Icon::Exclamation, Dialogs::Buttons::OkCancel) !=
        Dialogs::Answer::Ok)
        return;
    QStringList rest;
    const Status s = m_state.editor->run(
        QStringLiteral("状況の全削除"), [&] { return editing::deleteAll(m_state.workDir, listedSituations(), &rest); });
    m_host.noteFileWritten(files::kSituations);
    if (!s) {
        showFailure(dialogs, s);
        return;
    }
    m_host.setSituationLists(rest);
    markOrderChanged(false);
    const Notice done = editing::deleteAllDone();
    dialogs.message(done.text, done.title, Dialogs::Icon::Information);
}

void EditPanel::onRename() {
    Dialogs& dialogs = *m_state.dialogs;
    const QString newWord = m_renameField->text();
    if (newWord.isEmpty()) {
        const Notice empty = editing::renameEmpty();
        dialogs.message(empty.text, empty.title, Dialogs::Icon::Exclamation);
        return;
    }
    const int row = chosenSituation();
    if (row < 0) {
        const Notice none = editing::noChoiceToRename();
        dialogs.message(none.text, none.title, Dialogs::Icon::Exclamation);
        return;
    }
    const QString oldWord = m_situationList->item(row)->text();
    const Notice question = editing::renameQuestion(oldWord, newWord);
    if (dialogs.message(question.text, question.title, Dialogs::Icon::Exclamation, Dialogs::Buttons::OkCancel) !=
        Dialogs::Answer::Ok)
        return;
    editing::RenameResult renamed;
    const Status s = editing::renameWord(m_state.workDir, oldWord, newWord, &renamed);
    if (s.inPlace())
        m_state.editor->remember(history::renamed(QStringLiteral("状況の入れ替え"), renamed));
    m_host.noteFileWritten(files::kSituations);
    m_host.noteFileWritten(files::kData);
    if (!s) {
        showFailure(dialogs, s);
        return;
    }
    m_host.readSituationList();
    m_host.buildMainView();
    const Notice done = editing::renameDone();
    dialogs.message(done.text, done.title, Dialogs::Icon::Information);
    // the lists were read from the file again: no unsaved order is left
    markOrderChanged(false);
}

void EditPanel::onRestore() {
    Dialogs& dialogs = *m_state.dialogs;
    const QString title = QStringLiteral("バックアップから戻す");
    const auto listed = backups::listBackups(m_state.workDir);
    if (!listed) {
        showFailure(dialogs, listed.status());
        return;
    }
    const std::vector<backups::BackupInfo>& list = *listed;
    if (list.empty()) {
        dialogs.message(backups::noBackupsNotice(), title, Dialogs::Icon::Information);
        return;
    }
    QList<QStringList> rows;
    for (const backups::BackupInfo& b : list) {
        const QString last = !b.problem.isEmpty() ? b.problem.section(QStringLiteral("\r\n"), 0, 0)
                             : b.last             ? logedits::recordText(*b.last)
                                                  : QString();
        rows.append(
            {b.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")), QStringLiteral("%1 件").arg(b.records), last});
    }
    const int chosen = dialogs.choose(title,
                                      QStringLiteral("戻すバックアップを選んでください（新しい順）。\r\n"
                                                     "バックアップは「%1」フォルダにあります。")
                                          .arg(backups::folderName()),
                                      {QStringLiteral("日時"), QStringLiteral("記録数"), QStringLiteral("最後の記録")},
                                      rows, QStringLiteral("戻す"));
    if (chosen < 0)
        return;
    const backups::BackupInfo& backup = list[static_cast<size_t>(chosen)];
    if (!backup.problem.isEmpty()) {
        dialogs.message(backup.problem, title, Dialogs::Icon::Warning);
        return;
    }
    if (dialogs.message(backups::restoreQuestion(backup), title, Dialogs::Icon::Exclamation,
                        Dialogs::Buttons::OkCancel) != Dialogs::Answer::Ok)
        return;
    backups::RestoreResult result;
    const Status s = backups::restoreBackup(m_state.workDir, backup.name, &result);
    if (!s.inPlace()) {
        showFailure(dialogs, s);
        return;
    }
    if (!s.ok())
        showFailure(dialogs, s);
    // the changes made before no longer belong to the log now in place
    m_state.editor->forget();
    m_host.buildMainView();
    dialogs.message(backups::restoredNotice(result) +
                        QStringLiteral("\r\n\r\nこれより前の変更は「元に戻す」では戻せなくなりました。"),
                    title, Dialogs::Icon::Information);
}

void EditPanel::onNewStartOpen() {
    showNewStartFrame();
    const Notice intro = newstart::introduction();
    m_state.dialogs->message(intro.text, intro.title, Dialogs::Icon::Information);
    m_newNameField->setFocus(Qt::OtherFocusReason);
}

void EditPanel::showNewStartFrame() {
    for (QLineEdit* field : {m_newNameField, m_newHeightField, m_newTargetField, m_newWeightField, m_newBodyFatField})
        field->clear();
    m_newStartFrame->setVisible(true);
    m_newStartFrame->raise();
}

void EditPanel::openForNewStart() {
    // the welcome that leads here has said what the panel's guidance would say
    if (!isVisible()) {
        prepareOpening();
        setVisible(true);
    }
    showNewStartFrame();
    m_newNameField->setFocus(Qt::OtherFocusReason);
}

void EditPanel::onNewStart() {
    Dialogs& dialogs = *m_state.dialogs;
    newstart::Input in;
    in.name = m_newNameField->text();
    in.heightText = m_newHeightField->text();
    in.targetText = m_newTargetField->text();
    in.weightText = m_newWeightField->text();
    in.fatText = m_newBodyFatField->text();
    in.situationText = m_newSituationField->text();
    if (const auto refusal = newstart::firstRefusal(in)) {
        dialogs.message(refusal->text, refusal->title, Dialogs::Icon::Information);
        return;
    }
    const Notice question = newstart::confirmQuestion();
    if (dialogs.message(question.text, question.title, Dialogs::Icon::Exclamation, Dialogs::Buttons::OkCancel) !=
        Dialogs::Answer::Ok)
        return;
    newstart::StartOutcome result;
    const Status s = newstart::start(m_state.workDir, in, &result);
    for (const QString& name : {files::kData, files::kProfile, files::kSituations})
        m_host.noteFileWritten(name);
    if (!s) {
        showFailure(dialogs, s);
        // unless only a flush to disk failed, nothing was changed: the user can correct the
        // cause and try again
        if (!s.inPlace())
            return;
    }
    const Notice done = newstart::finished(result.backupName);
    dialogs.message(done.text, done.title, Dialogs::Icon::Information);
    m_host.endProgram();
}

void EditPanel::onProfileSave() {
    Dialogs& dialogs = *m_state.dialogs;
    const profileedit::Fields fields{m_nameField->text(), m_heightField->text(), m_targetField->text()};
    if (const auto refusal = profileedit::firstRefusal(fields)) {
        dialogs.message(refusal->text, refusal->title, Dialogs::Icon::Information);
        return;
    }
    Profile saved;
    const Status s = profileedit::save(m_state.workDir, fields, &saved);
    m_host.noteFileWritten(files::kProfile);
    if (!s) {
        showFailure(dialogs, s);
        return;
    }
    m_state.profile = saved;
    const profileedit::Fields shown = profileedit::fieldsOf(saved);
    m_filledProfile = {shown.name, shown.heightText, shown.targetText};
    m_host.setCaptionFor(saved.userName);
    const Notice done = profileedit::savedNotice();
    dialogs.message(done.text, done.title, Dialogs::Icon::Information);
}

void EditPanel::showSteps(const Steps& steps) {
    showStep(m_weightStep, steps.weightStep);
    showStep(m_fatStep, steps.fatStep);
}

void EditPanel::showStep(const StepControls& controls, const QString& step) {
    const int index = increments::optionFor(step);
    if (index > 0) {
        controls.options[static_cast<size_t>(index - 1)]->setChecked(true);
        return;
    }
    // a free value: no option stands for it
    controls.group->setExclusive(false);
    for (QRadioButton* option : controls.options)
        option->setChecked(false);
    controls.group->setExclusive(true);
    controls.free->setText(step);
}

void EditPanel::onOption(const StepControls& controls, int index) {
    // start-up selects the options from the file: that must not write it back
    if (m_state.startupGuard)
        return;
    const Status s = increments::chooseOption(m_state.workDir, m_state.steps, controls.kind, index);
    m_host.noteFileWritten(files::kSteps);
    if (!s) {
        showFailure(*m_state.dialogs, s);
        const Steps& steps = m_state.steps;
        showStep(controls, controls.kind == increments::Kind::Weight ? steps.weightStep : steps.fatStep);
    }
}

void EditPanel::onFreeStep(const StepControls& controls) {
    Dialogs& dialogs = *m_state.dialogs;
    const QString typed = controls.free->text();
    if (const auto step = increments::freeStep(typed); !step) {
        dialogs.message(step.message(), step.status().notice().title, Dialogs::Icon::Warning);
        return;
    }
    const Status s = increments::confirmFree(m_state.workDir, m_state.steps, controls.kind, typed);
    m_host.noteFileWritten(files::kSteps);
    if (!s)
        showFailure(dialogs, s);
}

void EditPanel::setTimeStamp(int value) {
    const QSignalBlocker block(m_timeStampBox);
    m_timeStampBox->setChecked(value == 1);
}

void EditPanel::onTimeStampClicked() {
    m_state.timeStamp = m_timeStampBox->isChecked() ? 1 : 0;
    const Status s = settings::writeTimeStamp(m_state.workDir, m_state.timeStamp);
    m_host.noteFileWritten(files::kTimeStamp);
    if (!s)
        showFailure(*m_state.dialogs, s);
}

void EditPanel::clearWeightLabel() {
    m_obesityWeightFigure->clear();
}

void EditPanel::setMeterBase() {
    m_state.meter.setMeterBase(m_state.main.lastWeight, m_state.profile.height);
    paintMeter();
}

void EditPanel::updateMeter() {
    m_state.meter.updateMeter(m_meterScrollBar->value(), m_state.profile.height, m_state.main.recordCount);
    paintMeter();
}

void EditPanel::followJudgement() {
    {
        // the judgement has already redrawn the meter for its new value
        const QSignalBlocker block(m_meterScrollBar);
        m_meterScrollBar->setValue(m_state.meter.scrollValue());
    }
    paintMeter();
}

void EditPanel::paintMeter() {
    const BmiMeter::Figures& f = m_state.meter.figures();
    m_scale->placePointer(m_state.meter.meterBmi());
    m_bmiFigure->setText(f.bmi);
    m_weightFigure->setText(f.weight);
    m_heightFigure->setText(f.height);
    m_obesityWeightFigure->setText(f.formulaWeight);
    m_numeratorStandardFigure->setText(f.standardWeight);
    m_denominatorStandardFigure->setText(f.standardWeight);
    m_obesityFigure->setText(f.obesity);
    m_meterTypeLabel->setText(f.meterType.word);
    m_meterTypeLabel->setStyleSheet(
        f.meterType.word.isEmpty()
            ? QString()
            : QStringLiteral("background: #%1; color: #1a1a1a; border: 1px solid #b8aec8; border-radius: 4px; "
                             "font-weight: bold; padding: 2px 8px;")
                  .arg(f.meterType.colour, 6, 16, QLatin1Char('0')));
}

} // namespace puka::ui
