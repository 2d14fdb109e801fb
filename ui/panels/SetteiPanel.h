#pragma once

#include "Panel.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QScrollBar;

namespace puka::ui {

class BmiScale;

/// The edit panel: the automatic time stamp switch and the BMI meter, which simulates BMI,
/// weight and obesity degree.
class SetteiPanel : public Panel {
    Q_OBJECT
public:
    SetteiPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("settings.html"); }

    /// SET_METER_BASE: the meter's weight and height figures from the last record and the profile.
    void SET_METER_BASE();
    /// DSP_METER: redraws the meter from its scroll bar.
    void DSP_METER();
    /// Shows the meter as the BMI judgement left it, with the scroll bar moved silently.
    void followJudgement();
    /// Ticks or clears chkJikan without writing the file.
    void setTimeStamp(int value);
    /// Clears the meter's weight label lblTai.
    void clearWeightLabel();

private:
    void paintMeter();
    void onTimeStampClicked();

    QCheckBox* chkJikan;
    QGroupBox* m_meterBox;
    BmiScale* m_scale;
    QScrollBar* HScroll1;
    QLabel* lblHyouka;
    QLabel* m_bmiFigure;
    QLabel* m_weightFigure;
    QLabel* m_heightFigure;
    QLabel* lblTai;
    QLabel* lblHyojun0;
    QLabel* lblHyojun1;
    QLabel* lblHiman;
};

} // namespace puka::ui
