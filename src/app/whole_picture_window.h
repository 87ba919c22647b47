// The whole-picture window: a modal window showing a copy of the whole
// canvas, centred where the window is larger than the picture. Escape
// closes it.
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;

namespace quor {

class WholePictureWindow : public QDialog
{
    Q_OBJECT
public:
    explicit WholePictureWindow(QWidget *parent = nullptr);

    QLabel *pictureLabel() const { return m_picture; }
    // Takes the picture and the size and place the window opens with, on
    // the screen of `over` and centred on it: 1:1 when it fits the screen,
    // otherwise scaled down smoothly to fit and said so in the title.
    void showPicture(const QImage &picture, const QWidget *over);
    bool scaledDown() const { return m_scaled; }

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void layOut();

    QLabel *m_picture;
    bool m_scaled = false;
};

} // namespace quor
