#include "core/views/BmiMeter.h"

#include "core/base/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace puka {

int BmiMeter::pointerLeft(float bmi, int scale, int yellowLeftTwips) {
    const float clamped = std::clamp(bmi, 17.0f, 32.0f);
    return yellowLeftTwips - static_cast<int>(std::lround((24.0f - clamped) * scale + 240.0f));
}

int BmiMeter::scrollValueFor(float bmi) {
    // nearbyint rounds halves to even in the default rounding mode
    return static_cast<int>(std::nearbyint(static_cast<double>(bmi) * 10.0));
}

bool BmiMeter::judgeBmi(float currentWeight, float heightCm, int recordCount) {
    if (recordCount == 0 || !(heightCm > 0))
        return false;
    const float bmi = body::bmi(currentWeight, heightCm);
    m_meterBmi = std::clamp(bmi, 17.0f, 32.0f);
    m_flag = true;
    const int value = scrollValueFor(m_meterBmi);
    // moving the bar redraws the meter at once; the flag keeps its weight figure
    if (value != m_scrollValue)
        updateMeter(value, heightCm, recordCount);
    m_figures.currentType = body::classify(bmi);
    m_figures.bmi = formats::one(bmi);
    return true;
}

void BmiMeter::setMeterBase(float lastWeight, float heightCm) {
    m_figures.weight = shortestText(lastWeight);
    m_figures.height = shortestText(heightCm / 100.0f);
}

void BmiMeter::updateMeter(int scrollValue, float heightCm, int recordCount) {
    if (recordCount == 0 || !(heightCm > 0))
        return;
    m_scrollValue = scrollValue;
    const float h2 = body::heightSquared(heightCm);
    if (!m_flag) {
        // the user moved the bar: show the weight for the chosen BMI
        m_meterBmi = scrollValue / 10.0f;
        m_figures.weight = formats::one(h2 * m_meterBmi);
    }
    m_meterBmi = scrollValue / 10.0f;
    m_flag = false;
    m_figures.meterType = body::classify(m_meterBmi);
    m_figures.bmi = formats::one(m_meterBmi);
    const float standard = body::standardWeight(heightCm);
    m_figures.standardWeight = fixedText(standard, 1);
    if (m_figures.standardWeight.size() < 4)
        m_figures.standardWeight.prepend(QLatin1Char('0'));
    m_figures.formulaWeight = m_figures.weight;
    // the obesity degree from the texts as shown, so the formula on screen adds up
    const double weightValue = leadingNumber(m_figures.formulaWeight);
    const double standardValue = leadingNumber(m_figures.standardWeight);
    m_figures.obesity =
        standardValue != 0 ? fixedText((weightValue - standardValue) / standardValue * 100.0, 1) : QString();
}

} // namespace puka
