#pragma once

#include <QString>
#include <QWidget>

// A decorative picture of a page (as `Image4` of the Member page): a drawing, usually an SVG of
// the program's resources, painted as large as the widget allows while keeping its proportions,
// centred at the top.
class PagePicture : public QWidget {
    Q_OBJECT
public:
    explicit PagePicture(QWidget* parent = nullptr);

    void setSource(const QString& fileName);
    const QString& source() const { return source_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString source_;
};
