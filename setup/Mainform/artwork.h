#pragma once
// The setup program's pictures, painted at start so no image files ship with it,
// and the label that shows them and reports clicks.

#include <QLabel>
#include <QPixmap>

namespace varnoksetup {

class PictureLabel : public QLabel {
    Q_OBJECT
public:
    explicit PictureLabel(const QPixmap& picture, QWidget* parent = nullptr);

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A wedge-shaped home computer with its keyboard and the name VARNOK.
QPixmap paintComputerPicture();
// The TED chip on a circuit board, for the hidden page.
QPixmap paintSecretPicture();

}  // namespace varnoksetup
