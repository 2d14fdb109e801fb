#include "core/base/BodyMeasures.h"

#include <cmath>

namespace puka::body {

float heightSquared(float heightCm) {
    if (!(heightCm > 0))
        return 0;
    const float m = heightCm / 100.0f;
    return m * m;
}

float standardWeight(float heightCm) {
    return heightSquared(heightCm) * 22.0f;
}

float bmi(float weight, float heightCm) {
    const float h2 = heightSquared(heightCm);
    return h2 > 0 ? weight / h2 : std::nanf("");
}

float obesity(float weight, float heightCm) {
    const float standard = standardWeight(heightCm);
    return standard > 0 ? (weight - standard) / standard : std::nanf("");
}

BodyType classify(float b) {
    if (b < 17.0f)
        return {QStringLiteral("やせ過ぎ"), rgb(192, 192, 255)};
    if (b < 20.0f)
        return {QStringLiteral("やせ気味"), rgb(192, 255, 255)};
    if (b <= 24.0f)
        return {QStringLiteral("スタンダード"), rgb(192, 255, 192)};
    if (b <= 26.4f)
        return {QStringLiteral("でぶメゾフォルテ"), rgb(255, 255, 192)};
    if (b < 30.0f)
        return {QStringLiteral("でぶフォルテ"), rgb(255, 192, 255)};
    return {QStringLiteral("でぶフォルテシモ"), rgb(255, 192, 192)};
}

} // namespace puka::body
