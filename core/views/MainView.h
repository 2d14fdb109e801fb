#pragma once

#include "core/base/ViewModel.h"
#include "core/base/WeightRecord.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace puka {

/// The values one main-view pass keeps for the entry, the BMI judgement and other panels.
struct MainValues {
    QString startDate; ///< date of the first record: the start of the diet
    float startWeight = 0;
    float startBmi = 0;
    float startObesity = 0;
    float lastWeight = 0;
    float lastBodyFat = 0;
    QString lastDate;
    int recordCount = 0;
    float currentWeight = 0; ///< the selected day's last measurement, else the log's last record
    float currentBodyFat = 0;
    QString currentDate;
    float currentBmi = 0;
    double currentObesity = 0;
};

/// What the main panel shows for one day.
struct MainView {
    GridModel dayList; ///< msgDayList
    ChartModel chart;  ///< mcrMain: weight on the primary axis, body fat on the secondary
    QString daysText;
    QString weightText;
    QString bmiText;
    QString obesityText;
    QString face; ///< imgwara, imgniko, imgkana or imgNashi
    MainValues values;
};

namespace mainview {

/// The empty day list with its headers, widths and alignments.
GridModel emptyDayList();

/// The main view of @p day from the whole log, for a profile height in cm.
MainView buildMainView(const std::vector<WeightRecord>& records, const QDate& day, float heightCm);

/// The view as the report prints it; @p bodyType is the judgement of the current BMI, when there is one.
ViewModel viewModel(const MainView& view, const std::optional<QString>& bodyType);

/// The integer part of (value + 0.9) for a value as the log stores it (its shortest decimal
/// text), so 70.0 gives 70 and 70.1 gives 71 without binary rounding getting in the way.
int ceilingOfStored(float value);

} // namespace mainview
} // namespace puka
