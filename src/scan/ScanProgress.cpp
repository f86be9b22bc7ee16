#include "scan/ScanProgress.h"

double ScanProgress::addingBase(int recordCount)
{
    if (recordCount <= 500)
        return 0.02;
    if (recordCount <= 1000)
        return 0.03;
    if (recordCount <= 2000)
        return 0.04;
    return 0.05;
}

double ScanProgress::ringFraction(Stage stage, int recordCount, int hashed, int compared, double prog)
{
    const double n = recordCount > 0 ? double(recordCount) : 1.0;
    switch (stage) {
    case Stage::Adding:
        return addingBase(recordCount);
    case Stage::Searching:
    case Stage::Hashing:
    case Stage::Reading:
        return hashed / n * 0.5 + prog;
    case Stage::Comparing:
        return hashed / n * 0.5 + prog + compared / n * 0.25;
    }
    return prog;
}
