// The marking parts of the results window, attached to its controller once the controller's view
// has loaded: the auto-mark dialog and progress sheet, and marking by hand. The owner of the controller makes
// it, so the results window itself never depends on the removal side. The controller must outlive it.
#pragma once

#include <memory>

#include <QObject>

class AutoMarkSheets;
class ResultContextMenu;
class ResultViewController;

class ResultWindowMarking : public QObject
{
    Q_OBJECT
public:
    explicit ResultWindowMarking(ResultViewController &controller, QObject *parent = nullptr);
    ~ResultWindowMarking() override;

    // Null until the controller's view has loaded.
    AutoMarkSheets *autoMarkSheets() const { return m_autoMark.get(); }
    ResultContextMenu *contextMenu() const { return m_contextMenu.get(); }

private:
    void attach();

    ResultViewController &m_c;
    std::unique_ptr<AutoMarkSheets> m_autoMark;
    std::unique_ptr<ResultContextMenu> m_contextMenu;
};
