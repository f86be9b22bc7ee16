// Small panes of known size for the preferences window's tests.
#pragma once

#include <memory>
#include <vector>

#include <QPushButton>
#include <QVBoxLayout>

#include "preferences/ui/PreferencePane.h"

class TestPane : public PreferencePane
{
public:
    TestPane(const QString &identifier, const QString &title, QSize size)
        : PreferencePane(
            Preferences::PaneIdentifier(identifier), title, bundleIcon(QStringLiteral("General")))
        , m_size(size)
    {
    }

protected:
    void viewDidLoad() override
    {
        setPreferredSize(m_size);
        auto *layout = new QVBoxLayout(view());
        layout->addWidget(new QPushButton(preferencePaneTitle()));
    }

private:
    QSize m_size;
};

inline std::vector<std::shared_ptr<PreferencePane>> fourTestPanes()
{
    return { std::make_shared<TestPane>("general", "General", QSize(400, 200)),
        std::make_shared<TestPane>("exclude", "Exclusions", QSize(420, 300)),
        std::make_shared<TestPane>("automark", "Auto-mark", QSize(480, 260)),
        std::make_shared<TestPane>("filter", "Filter", QSize(400, 340)) };
}
