#pragma once

// Runs a writer of the edit and diary panels with the k-th file step failing, for k = 1, 2, ...
// until a run meets no fault: after every failed run the folder must hold exactly what it held
// before, and the message must name one of the files.
#include "tests/core/CoreTestHelpers.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace puka::test {

inline void expectWholeAfterEveryFault(const std::function<void(const WorkDir&)>& prepare,
                                       const std::function<Status(const QString&)>& run, const QStringList& named,
                                       int minFaults) {
    int faults = 0;
    for (int k = 1; k < 60; ++k) {
        WorkDir dir;
        prepare(dir);
        const auto before = snapshot(dir);
        int calls = 0;
        Status s;
        {
            FaultGuard guard([&](FileStep step, const QString& path) {
                // a failed folder flush comes after the rename and is no failure to report
                if (step == FileStep::Read || QFileInfo(path).isDir())
                    return 0;
                return ++calls == k ? ENOSPC : 0;
            });
            s = run(dir.path());
        }
        if (calls < k) {
            EXPECT_TRUE(s) << s.message().toStdString();
            break;
        }
        ++faults;
        SCOPED_TRACE("fault at step " + std::to_string(k));
        EXPECT_FALSE(s.ok());
        bool namesFile = false;
        for (const QString& f : named)
            namesFile = namesFile || s.message().contains(f);
        EXPECT_TRUE(namesFile) << s.message().toStdString();
        EXPECT_TRUE(sameFiles(before, snapshot(dir)));
    }
    EXPECT_GE(faults, minFaults);
}

} // namespace puka::test
