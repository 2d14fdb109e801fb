#pragma once

#include "core/base/ViewModel.h"

#include <QString>

namespace puka {

/// Body measures from the profile height (cm).
namespace body {

/// (height / 100)², the square of the height in metres; 0 for a height that is not positive.
float heightSquared(float heightCm);
/// The standard weight: (height / 100)² × 22 kg.
float standardWeight(float heightCm);
/// BMI = weight / (height / 100)²; NaN when the height is not positive.
float bmi(float weight, float heightCm);
/// The obesity degree as a ratio: (weight − standard weight) / standard weight; NaN without a height.
float obesity(float weight, float heightCm);

/// A body-type word and its label colour.
struct BodyType {
    QString word;
    Rgb colour;
};

/// The body type of a BMI, compared in single precision: below 17 やせ過ぎ, below 20 やせ気味,
/// up to 24 スタンダード, up to 26.4 でぶメゾフォルテ, below 30 でぶフォルテ, else でぶフォルテシモ.
BodyType classify(float bmi);

} // namespace body
} // namespace puka
