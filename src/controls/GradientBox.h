// A box painted only with a three-part image (start, middle, end), left to right or, for a
// repeating strip, top to bottom. Headers, footers, hint boxes and separator lines use it.
#pragma once

#include <optional>

#include <QWidget>

class GradientBox : public QWidget
{
    Q_OBJECT

public:
    explicit GradientBox(QWidget *parent = nullptr);

    // One name for all three parts; none becomes "".
    void setBackgroundImage(const std::optional<QString> &name);
    // Start, middle and end names; each none becomes "" (a part without an image stays empty).
    void setBackgroundImages(const std::optional<QString> &start, const std::optional<QString> &middle,
        const std::optional<QString> &end);
    // One name for all three parts, laid out top to bottom.
    void setRepeatingBackgroundImage(const std::optional<QString> &name);

    bool isRepeatVertically() const { return m_isRepeatVertically; }
    const std::optional<QString> &bgImage() const { return m_bgImage; }
    const std::optional<QString> &bgImage_St() const { return m_bgImage_St; }
    const std::optional<QString> &bgImage_En() const { return m_bgImage_En; }
    // Whether a drawing paints anything: all three names have been given.
    bool drawsImages() const { return m_bgImage && m_bgImage_St && m_bgImage_En; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_isRepeatVertically = false;
    std::optional<QString> m_bgImage;
    std::optional<QString> m_bgImage_St;
    std::optional<QString> m_bgImage_En;
};
