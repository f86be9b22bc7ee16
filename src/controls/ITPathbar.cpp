// Path bar.
#include "controls/ITPathbar.h"

#include <algorithm>

#include <QPainter>

#include "platform/ui/Workspace.h"

ITPathbar::ITPathbar(QWidget *parent)
    : QWidget(parent)
    , m_cell(std::make_unique<ITPathbarCell>())
{
    setFocusPolicy(Qt::NoFocus);
}

ITPathbar::~ITPathbar() = default;

void ITPathbar::setPathToPathController(const QString &path)
{
    removePath();
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts)
        addItemWithTitle(part);
    if (m_cells.isEmpty())
        return;
    // The last level is the file itself: the icon of its type, told by its name.
    m_cells.last() = ITPathbarComponentCell(
        parts.last(), m_cells.last().path(), Workspace::iconForFileName(parts.last()));
}

void ITPathbar::setPathToPathController(const QString &path, const QString &lastTitle)
{
    setPathToPathController(path);
    if (m_cells.isEmpty() || lastTitle.isEmpty())
        return;
    QList<ITPathbarComponentCell> cells = m_cells;
    const ITPathbarComponentCell last = cells.last();
    cells.last() = ITPathbarComponentCell(lastTitle, last.path(), last.image());
    setPathComponentCells(cells);
}

void ITPathbar::removePath()
{
    m_pathStr.clear();
    const qsizetype count = m_cells.size();
    for (qsizetype i = 0; i < count; ++i)
        removeLastItem();
}

void ITPathbar::addItemWithTitle(const QString &title)
{
    insertItemWithTitle(title, m_cells.size());
}

void ITPathbar::insertItemWithTitle(const QString &title, qint64 index)
{
    if (title.isEmpty())
        return;
    QList<ITPathbarComponentCell> cells = mutablePathComponentCells();
    setPathValue(m_pathStr.isEmpty() ? QStringLiteral("/") + title : m_pathStr + QLatin1Char('/') + title);
    const qsizetype at = std::clamp<qint64>(index, 0, cells.size());
    cells.insert(at, ITPathbarComponentCell(title, m_pathStr, Workspace::folderIcon()));
    setPathComponentCells(cells);
}

void ITPathbar::removeItemAtIndex(qint64 index)
{
    if (index < 0 || index >= m_cells.size())
        return;
    QList<ITPathbarComponentCell> cells = mutablePathComponentCells();
    cells.removeAt(index);
    setPathComponentCells(cells);
}

void ITPathbar::removeLastItem()
{
    removeItemAtIndex(m_cells.size() - 1);
}

void ITPathbar::setPathComponentCells(const QList<ITPathbarComponentCell> &cells)
{
    m_cells = cells;
    update();
}

QList<QRectF> ITPathbar::componentRects() const
{
    return m_cell->componentRects(m_cells, rect(), font());
}

void ITPathbar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_cell->draw(painter, rect(), m_cells, font());
}
