#include "ReportPrinter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace puka::report {
namespace {

QString hexColour(Rgb c) {
    return QStringLiteral("#%1").arg(c, 6, 16, QLatin1Char('0')).toUpper();
}

QString numberText(double v) {
    return std::isnan(v) ? QString() : QString::number(v, 'g', 15);
}

QJsonValue limitsJson(const AxisLimits& a) {
    if (!a.min && !a.max)
        return QJsonValue::Null;
    return QJsonArray{a.min ? QJsonValue(*a.min) : QJsonValue(QJsonValue::Null),
                      a.max ? QJsonValue(*a.max) : QJsonValue(QJsonValue::Null)};
}

} // namespace

QByteArray toTsv(const ViewModel& view) {
    QString out;
    for (const GridModel& g : view.grids) {
        out += QStringLiteral("# ") + g.name + QLatin1Char('\n');
        QStringList header;
        for (const GridColumn& c : g.columns)
            header.append(c.header);
        out += header.join(QLatin1Char('\t')) + QLatin1Char('\n');
        const int cols = g.columnCount();
        for (int r = 0; r < g.bodyRows(); ++r) {
            for (int c = 0; c < cols; ++c) {
                if (c > 0)
                    out += QLatin1Char('\t');
                out += g.cell(r, c);
            }
            out += QLatin1Char('\n');
        }
    }
    for (const auto& [name, text] : view.labels)
        out += name + QLatin1Char('\t') + text + QLatin1Char('\n');
    for (const ChartModel& c : view.charts) {
        out += QStringLiteral("# ") + c.name + QLatin1Char('\n');
        for (int i = 0; i < c.categoryCount(); ++i) {
            out += QString::number(i + 1);
            for (const ChartSeries& s : c.series)
                out += QLatin1Char('\t') + numberText(s.points[static_cast<size_t>(i)]);
            out += QLatin1Char('\n');
        }
    }
    if (!view.face.isEmpty())
        out += QStringLiteral("face\t") + view.face + QLatin1Char('\n');
    return out.toUtf8();
}

QByteArray toJson(const ViewModel& view) {
    QJsonObject root;
    root.insert(QStringLiteral("view"), view.view);
    QJsonObject grids;
    for (const GridModel& g : view.grids) {
        QJsonArray rows;
        QJsonArray colours;
        QJsonArray header;
        QJsonArray headerColours;
        for (const GridColumn& c : g.columns) {
            header.append(c.header);
            headerColours.append(QJsonValue::Null);
        }
        rows.append(header);
        colours.append(headerColours);
        for (int r = 0; r < g.bodyRows(); ++r) {
            QJsonArray row;
            QJsonArray rowColours;
            for (int c = 0; c < g.columnCount(); ++c) {
                row.append(g.cell(r, c));
                const auto colour = g.colour(r, c);
                rowColours.append(colour ? QJsonValue(hexColour(*colour)) : QJsonValue(QJsonValue::Null));
            }
            rows.append(row);
            colours.append(rowColours);
        }
        grids.insert(g.name, QJsonObject{{QStringLiteral("rows"), rows}, {QStringLiteral("colours"), colours}});
    }
    root.insert(QStringLiteral("grids"), grids);
    QJsonObject labels;
    for (const auto& [name, text] : view.labels)
        labels.insert(name, text);
    root.insert(QStringLiteral("labels"), labels);
    QJsonObject charts;
    for (const ChartModel& c : view.charts) {
        QJsonArray series;
        for (const ChartSeries& s : c.series) {
            QJsonArray points;
            for (double p : s.points)
                points.append(std::isnan(p) ? QJsonValue(QJsonValue::Null) : QJsonValue(p));
            series.append(QJsonObject{{QStringLiteral("name"), s.name}, {QStringLiteral("points"), points}});
        }
        charts.insert(c.name, QJsonObject{{QStringLiteral("primary"), limitsJson(c.primary)},
                                          {QStringLiteral("secondary"), limitsJson(c.secondary)},
                                          {QStringLiteral("series"), series}});
    }
    root.insert(QStringLiteral("charts"), charts);
    if (!view.face.isEmpty())
        root.insert(QStringLiteral("face"), view.face);
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + "\n";
}

} // namespace puka::report
