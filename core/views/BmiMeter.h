#pragma once

#include "core/base/BodyMeasures.h"

#include <QString>

namespace puka {

/// The BMI judgement of the current measurement and the BMI meter that simulates other values.
/// Holds the meter's state between the user's moves of its scroll bar.
class BmiMeter {
public:
    static constexpr int kScrollMin = 170;
    static constexpr int kScrollMax = 320;
    static constexpr int kIndicatorScale = 160; ///< twips per BMI point on the main panel
    static constexpr int kMeterScale = 500;     ///< twips per BMI point on the meter

    /// The labels the two displays show.
    struct Figures {
        QString bmi;    ///< the BMI figure, "0.0"
        QString weight; ///< the weight figure
        QString height; ///< the height figure, metres
        QString formulaWeight;
        QString standardWeight; ///< both standard-weight labels, "00.0"
        QString obesity;
        body::BodyType meterType;   ///< lblHyouka
        body::BodyType currentType; ///< lblMHyouka
    };

    /// Judges the current weight and moves the meter to it (clamped to 17..32),
    /// redrawing the meter when the scroll bar's value changes. Returns false (and changes
    /// nothing) when the log is empty or no height is known. Afterwards scrollValue() is where
    /// the scroll bar belongs.
    bool judgeBmi(float currentWeight, float heightCm, int recordCount);
    /// The meter's weight and height figures from the last record and the profile.
    void setMeterBase(float lastWeight, float heightCm);
    /// Redraws the meter for the scroll bar's @p scrollValue.
    void updateMeter(int scrollValue, float heightCm, int recordCount);

    float meterBmi() const { return m_meterBmi; }
    int scrollValue() const { return m_scrollValue; }
    const Figures& figures() const { return m_figures; }

    /// The left edge in twips of a pointer for @p bmi (clamped to 17..32) on a scale whose
    /// yellow band starts at @p yellowLeftTwips, with @p scale twips per BMI point.
    static int pointerLeft(float bmi, int scale, int yellowLeftTwips);
    /// The scroll value for a BMI: BMI × 10 rounded to the nearest whole number, halves to even.
    static int scrollValueFor(float bmi);

private:
    float m_meterBmi = 22.0f;
    int m_scrollValue = 220;
    bool m_flag = false;
    Figures m_figures;
};

} // namespace puka
