// Runs the kill test's sequence of log writes in a folder; the test kills it at random moments.
#include "tests/core/files/KillSequence.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    for (int i = 0; i < puka::killtest::stepCount(); ++i) {
        const puka::Status s = puka::killtest::step(dir, i);
        if (!s) {
            std::fprintf(stderr, "step %d: %s\n", i, s.message().toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
