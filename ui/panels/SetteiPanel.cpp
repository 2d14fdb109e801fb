#include "SetteiPanel.h"

#include "AppState.h"
#include "BmiScale.h"
#include "PanelHost.h"
#include "Settings.h"
#include "SituationEditing.h"
#include "controls/Dialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace puka::ui {
namespace {

const QString kRuler = QStringLiteral(
    "17.......18...........19...........20...........21...........22..........23...........24..........25.........."
    ".26..........27...........28...........29...........30..........31......32");

QLabel* figure(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromUtf8(name));
    l->setAlignment(Qt::AlignCenter);
    l->setMinimumWidth(56);
    l->setStyleSheet(QStringLiteral("background: white; border: 1px solid #c9c0d6; border-radius: 3px; "
                                    "padding: 1px 4px; font-weight: bold;"));
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

} // namespace

SetteiPanel::SetteiPanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraSettei", parent) {

    chkJikan = new QCheckBox(QStringLiteral("一言日記に自動的に時間を記録"), this);
    chkJikan->setObjectName(QStringLiteral("chkJikan"));
    connect(chkJikan, &QCheckBox::clicked, this, &SetteiPanel::onTimeStampClicked);

    m_meterBox = new QGroupBox(QStringLiteral("　ＢＭＩメーター (Body Mass Index)　と　肥満度　"), this);
    m_meterBox->setObjectName(QStringLiteral("fraMeter"));
    m_meterBox->setToolTip(QStringLiteral("ＢＭＩと肥満度のシミュレーションができます"));

    m_scale = new BmiScale(BmiMeter::kMeterScale, QStringLiteral("Image2"), m_meterBox);
    auto* ruler = new QLabel(kRuler, m_meterBox);
    ruler->setObjectName(QStringLiteral("lblRuler"));
    QFont rf = ruler->font();
    rf.setPointSizeF(7);
    ruler->setFont(rf);
    HScroll1 = new QScrollBar(Qt::Horizontal, m_meterBox);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setRange(BmiMeter::kScrollMin, BmiMeter::kScrollMax);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(10);
    HScroll1->setValue(m_state.meter.scrollValue());
    HScroll1->setFixedWidth(m_scale->sizeHint().width());
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { DSP_METER(); });

    lblHyouka = new QLabel(m_meterBox);
    lblHyouka->setObjectName(QStringLiteral("lblHyouka"));
    lblHyouka->setAlignment(Qt::AlignCenter);
    lblHyouka->setMinimumWidth(160);
    m_bmiFigure = figure("lblBmiFigure", m_meterBox);
    m_weightFigure = figure("lblWeightFigure", m_meterBox);
    m_heightFigure = figure("lblHeightFigure", m_meterBox);
    lblTai = figure("lblTai", m_meterBox);
    lblHyojun0 = figure("lblHyojun(0)", m_meterBox);
    lblHyojun1 = figure("lblHyojun(1)", m_meterBox);
    lblHiman = figure("lblHiman", m_meterBox);

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

    // 肥満度（％） ＝ (体重 − 標準体重) / 標準体重 × １００
    auto* obesityFormula = new QGridLayout;
    obesityFormula->addWidget(text(QStringLiteral("肥満度（％）"), m_meterBox), 0, 0, 3, 1);
    obesityFormula->addWidget(lblHiman, 0, 1, 3, 1);
    obesityFormula->addWidget(text(QStringLiteral("＝"), m_meterBox), 0, 2, 3, 1);
    auto* numerator = new QHBoxLayout;
    numerator->addWidget(lblTai);
    numerator->addWidget(text(QStringLiteral("体重（Ｋｇ）           －標準体重（Ｋｇ）"), m_meterBox));
    numerator->addWidget(lblHyojun0);
    obesityFormula->addLayout(numerator, 0, 3);
    obesityFormula->addWidget(fractionBar(m_meterBox), 1, 3);
    auto* denominator = new QHBoxLayout;
    denominator->addStretch(1);
    denominator->addWidget(text(QStringLiteral("標準体重（Ｋｇ）"), m_meterBox));
    denominator->addWidget(lblHyojun1);
    denominator->addStretch(1);
    obesityFormula->addLayout(denominator, 2, 3);
    obesityFormula->addWidget(text(QStringLiteral("×１００"), m_meterBox), 0, 4, 3, 1);

    auto* judgeRow = new QHBoxLayout;
    judgeRow->addWidget(text(QStringLiteral("肥満指数判定"), m_meterBox));
    judgeRow->addWidget(lblHyouka);
    judgeRow->addStretch(1);
    judgeRow->addWidget(text(QStringLiteral("適正　２２"), m_meterBox));

    auto* meter = new QVBoxLayout(m_meterBox);
    meter->addWidget(m_scale, 0, Qt::AlignHCenter);
    meter->addWidget(ruler, 0, Qt::AlignHCenter);
    meter->addWidget(HScroll1, 0, Qt::AlignHCenter);
    meter->addSpacing(6);
    meter->addLayout(judgeRow);
    meter->addSpacing(6);
    meter->addLayout(bmiFormula);
    meter->addSpacing(6);
    meter->addLayout(obesityFormula);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chkJikan);
    layout->addWidget(m_meterBox, 0, Qt::AlignLeft);
    layout->addStretch(1);
}

void SetteiPanel::open() {
    m_host.HIDE_PANELS();
    showWithGuidance(editing::guidanceText());
}

void SetteiPanel::setTimeStamp(int value) {
    const QSignalBlocker block(chkJikan);
    chkJikan->setChecked(value == 1);
}

void SetteiPanel::onTimeStampClicked() {
    m_state.timeStamp = chkJikan->isChecked() ? 1 : 0;
    const Status s = settings::WRITE_JIKAN(m_state.workDir, m_state.timeStamp);
    if (!s)
        m_state.dialogs->message(s.message(), QStringLiteral("保存エラー"), Dialogs::Icon::Critical);
}

void SetteiPanel::clearWeightLabel() {
    lblTai->clear();
}

void SetteiPanel::SET_METER_BASE() {
    m_state.meter.SET_METER_BASE(m_state.main.lastWeight, m_state.profile.height);
    paintMeter();
}

void SetteiPanel::DSP_METER() {
    m_state.meter.DSP_METER(HScroll1->value(), m_state.profile.height, m_state.main.recordCount);
    paintMeter();
}

void SetteiPanel::followJudgement() {
    {
        // the judgement has already redrawn the meter for its new value
        const QSignalBlocker block(HScroll1);
        HScroll1->setValue(m_state.meter.scrollValue());
    }
    paintMeter();
}

void SetteiPanel::paintMeter() {
    const BmiMeter::Figures& f = m_state.meter.figures();
    m_scale->placePointer(m_state.meter.meterBmi());
    m_bmiFigure->setText(f.bmi);
    m_weightFigure->setText(f.weight);
    m_heightFigure->setText(f.height);
    lblTai->setText(f.lblTai);
    lblHyojun0->setText(f.lblHyojun);
    lblHyojun1->setText(f.lblHyojun);
    lblHiman->setText(f.lblHiman);
    lblHyouka->setText(f.meterType.word);
    lblHyouka->setStyleSheet(
        f.meterType.word.isEmpty()
            ? QString()
            : QStringLiteral("background: #%1; border: 1px solid #b8aec8; border-radius: 4px; font-weight: bold; "
                             "padding: 2px 8px;")
                  .arg(f.meterType.colour, 6, 16, QLatin1Char('0')));
}

} // namespace puka::ui
