// Looks at many paths, one after another on a thread of their own, each a bounded time. A path
// whose look does not answer names its mount as not answering, and nothing more on that mount is
// looked at: a share gone silent costs one wait and leaves one thread behind, however many of the
// paths lie on it. The thread left behind owns everything it touches (see BoundedLook).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include <QSet>
#include <QString>
#include <QStringList>

#include "platform/BoundedLook.h"
#include "platform/KnownTrashes.h"

class MountLooks
{
public:
    // Over the running mount table; a set `stop` ends the waits.
    explicit MountLooks(const std::atomic<bool> *stop = nullptr);

    // The answer of `look(i)`, which looks at `paths[i]`, for each path in order; nothing for a path
    // on a mount that did not answer (now or before), or after a stop. `look` must own what it uses.
    template <typename Answer>
    std::vector<std::optional<Answer>> lookAtAll(
        const QStringList &paths, std::function<Answer(qsizetype)> look)
    {
        if (paths.isEmpty())
            return {};
        auto box = std::make_shared<Box<Answer>>();
        box->paths = paths;
        box->answers.resize(size_t(paths.size()));
        for (const QString &path : paths)
            box->mounts.append(mountOf(path));
        box->silent = m_silent;
        box->look = std::move(look);
        std::unique_lock<std::mutex> lock(box->mutex);
        startFrom(box, 0);
        auto lastAnswer = std::chrono::steady_clock::now();
        int answered = 0;
        while (!box->ended && !(m_stop && m_stop->load())) {
            box->changed.wait_for(lock, BoundedLookTimes::kStopCheck);
            if (box->answered != answered) {
                answered = box->answered;
                lastAnswer = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - lastAnswer
                >= BoundedLookTimes::kNotAnsweringAfter) {
                // The look under way has not answered: its mount is left out, the rest goes on.
                notAnswering(box->mounts[box->at]);
                box->silent.insert(box->mounts[box->at]);
                startFrom(box, box->at + 1);
                lastAnswer = std::chrono::steady_clock::now();
            }
        }
        ++box->generation;
        return box->answers;
    }

    // True when the mount holding `path` did not answer a look.
    bool isNotAnswering(const QString &path) const { return m_silent.contains(mountOf(path)); }

private:
    template <typename Answer> struct Box {
        std::mutex mutex;
        std::condition_variable changed;
        QStringList paths;
        QStringList mounts;
        QSet<QString> silent;
        std::function<Answer(qsizetype)> look;
        std::vector<std::optional<Answer>> answers;
        // The thread now looking; an older one left behind writes nothing more.
        int generation = 0;
        qsizetype at = 0;
        int answered = 0;
        bool ended = false;
    };

    // Holding the box's lock: a thread that looks at the paths from `first` on.
    template <typename Answer> static void startFrom(const std::shared_ptr<Box<Answer>> &box, qsizetype first)
    {
        const int generation = ++box->generation;
        box->ended = false;
        try {
            std::thread([box, first, generation]() { lookFrom(box, first, generation); }).detach();
        } catch (const std::system_error &) {
            // No thread to spare: the rest counts as not answering.
            box->ended = true;
        }
    }

    template <typename Answer>
    static void lookFrom(const std::shared_ptr<Box<Answer>> &box, qsizetype first, int generation)
    {
        for (qsizetype i = first; i < box->paths.size(); ++i) {
            {
                std::lock_guard<std::mutex> lock(box->mutex);
                if (box->generation != generation)
                    return;
                if (box->silent.contains(box->mounts[i]))
                    continue;
                box->at = i;
            }
            Answer answer = box->look(i);
            std::lock_guard<std::mutex> lock(box->mutex);
            if (box->generation != generation)
                return;
            box->answers[size_t(i)] = std::move(answer);
            ++box->answered;
        }
        std::lock_guard<std::mutex> lock(box->mutex);
        if (box->generation != generation)
            return;
        box->ended = true;
        box->changed.notify_all();
    }

    // The point of the mount that shows `path`, as the mount table names it (never looked at).
    QString mountOf(const QString &path) const;
    void notAnswering(const QString &mount);

    const std::atomic<bool> *m_stop;
    std::vector<KnownTrashes::Mount> m_mounts;
    QSet<QString> m_silent;
};
