// The marking parts of the results window, attached to its controller once the controller's view
// has loaded: the auto-mark dialog and progress sheet. The owner of the controller makes it, so the
// results window itself never depends on the removal side.
#pragma once

#include <memory>

#include <QObject>

class AutoMarkSheets;
class ResultViewController;

class ResultWindowMarking : public QObject
{
    Q_OBJECT
public:
    explicit ResultWindowMarking(ResultViewController &controller, QObject *parent = nullptr);
    ~ResultWindowMarking() override;

    // Null until the controller's view has loaded.
    AutoMarkSheets *autoMarkSheets() const { return m_autoMark.get(); }

private:
    void attach();

    ResultViewController &m_c;
    std::unique_ptr<AutoMarkSheets> m_autoMark;
};
