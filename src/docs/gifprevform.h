// The animated preview of a GIF picture: the frames run as long as the
// window is open and are released when it closes.
#pragma once

#include "prevform.h"

#include <memory>

class QMovie;

class TGifPrevForm : public TPreviewForm
{
    Q_OBJECT

public:
    explicit TGifPrevForm(QWidget *parent = nullptr);
    ~TGifPrevForm() override;
    // False when the file gives no picture.
    bool loadPicture(const QString &path);

    QLabel *GIFImage1 = nullptr;
    QMovie *movie() const { return m_movie.get(); }

protected:
    void releasePicture() override;

private:
    std::unique_ptr<QMovie> m_movie;
};
