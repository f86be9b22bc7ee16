// The shared preview panel: shows the item its data source names, as an image when it is one,
// otherwise as the file's icon with a button that opens it in its default application.
#pragma once

#include <QPointer>

class AppDelegate;
class QLabel;
class QPushButton;
class QWidget;

class QuickLookPanel
{
public:
    static QuickLookPanel &sharedPreviewPanel();

    void setDataSource(AppDelegate *dataSource) { m_dataSource = dataSource; }
    // Shows the data source's item and brings the panel to the front.
    void makeKeyAndOrderFront();
    // Shows the data source's item again when the panel is up, or closes it when there is none.
    void refresh();
    QWidget *window() const { return m_window; }

private:
    void build();
    void reloadData();

    AppDelegate *m_dataSource = nullptr;
    QPointer<QWidget> m_window;
    QPointer<QLabel> m_image;
    QPointer<QLabel> m_name;
    QPointer<QPushButton> m_open;
};
