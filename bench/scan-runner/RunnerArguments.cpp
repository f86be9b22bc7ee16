#include "RunnerArguments.h"

namespace
{

std::optional<int> boundedNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

struct RangedOption {
    const char *name;
    int low;
    int high;
    std::optional<int> RunnerArguments::*field;
};

const RangedOption kRanged[] = {
    { "--level", 1, 8, &RunnerArguments::level },
    { "--bitmap", 0, 6, &RunnerArguments::bitmapIndex },
    { "--time-index", 0, 18, &RunnerArguments::timeIndex },
    { "--gps-index", 0, 6, &RunnerArguments::gpsIndex },
};

} // namespace

const char *RunnerArguments::usage()
{
    return "usage: quennary-scan [--mode exact|similar] [--level 1-8] [--bitmap 0-6] [--rotate] [--mirror] "
           "[--time-index 0-18] [--gps-index 0-6] [--auto-mark] [--trash-marked] [--stop-while-reading] "
           "[--home DIR] [--json FILE] [--before-each-removal PROGRAM] [--before-each-move PROGRAM] "
           "(PATH... | --cloud dropbox|gdrive --cloud-folder FOLDER...)";
}

std::optional<RunnerArguments> RunnerArguments::parse(const QStringList &arguments, QString *error)
{
    RunnerArguments parsed;
    const auto fail = [error](const QString &why) {
        *error = why;
        return std::nullopt;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--rotate")) {
            parsed.rotate = true;
            continue;
        }
        if (argument == QLatin1String("--mirror")) {
            parsed.mirror = true;
            continue;
        }
        if (argument == QLatin1String("--auto-mark")) {
            parsed.autoMark = true;
            continue;
        }
        if (argument == QLatin1String("--trash-marked")) {
            parsed.trashMarked = true;
            continue;
        }
        if (argument == QLatin1String("--stop-while-reading")) {
            parsed.stopWhileReading = true;
            continue;
        }
        if (!argument.startsWith(QLatin1String("--"))) {
            parsed.paths.append(argument);
            continue;
        }
        static const QStringList kValued { "--mode", "--home", "--json", "--level", "--bitmap",
            "--time-index", "--gps-index", "--cloud", "--cloud-folder", "--before-each-removal",
            "--before-each-move" };
        if (!kValued.contains(argument))
            return fail(QLatin1String("unknown option ") + argument);
        if (i + 1 >= arguments.size())
            return fail(argument + QLatin1String(" needs a value"));
        const QString value = arguments.at(++i);
        if (argument == QLatin1String("--mode")) {
            if (value != QLatin1String("exact") && value != QLatin1String("similar"))
                return fail(QLatin1String("--mode takes exact or similar"));
            parsed.exact = value == QLatin1String("exact");
        } else if (argument == QLatin1String("--home")) {
            parsed.home = value;
        } else if (argument == QLatin1String("--cloud")) {
            if (value != QLatin1String("dropbox") && value != QLatin1String("gdrive"))
                return fail(QLatin1String("--cloud takes dropbox or gdrive"));
            parsed.cloud = value;
        } else if (argument == QLatin1String("--cloud-folder")) {
            parsed.cloudFolders.append(value);
        } else if (argument == QLatin1String("--json")) {
            parsed.jsonFile = value;
        } else if (argument == QLatin1String("--before-each-removal")) {
            parsed.beforeEachRemoval = value;
        } else if (argument == QLatin1String("--before-each-move")) {
            parsed.beforeEachMove = value;
        } else {
            const RangedOption *option = nullptr;
            for (const RangedOption &candidate : kRanged) {
                if (argument == QLatin1String(candidate.name))
                    option = &candidate;
            }
            if (!option)
                return fail(QLatin1String("unknown option ") + argument);
            const std::optional<int> number = boundedNumber(value, option->low, option->high);
            if (!number)
                return fail(argument + QLatin1String(" out of range: ") + value);
            parsed.*(option->field) = number;
        }
    }
    if (!parsed.cloud.isEmpty()) {
        if (parsed.cloudFolders.isEmpty())
            return fail(QStringLiteral("--cloud needs at least one --cloud-folder"));
        if (!parsed.paths.isEmpty())
            return fail(QStringLiteral("PATH and --cloud exclude each other"));
        return parsed;
    }
    if (!parsed.cloudFolders.isEmpty())
        return fail(QStringLiteral("--cloud-folder needs --cloud"));
    if (parsed.paths.isEmpty())
        return fail(QStringLiteral("no PATH given"));
    return parsed;
}
