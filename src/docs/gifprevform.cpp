#include "gifprevform.h"

#include "picload.h"

#include <QLabel>
#include <QMovie>

TGifPrevForm::TGifPrevForm(QWidget *parent) : TPreviewForm(parent)
{
    setObjectName(QStringLiteral("GifPrevForm"));
    GIFImage1 = new QLabel(this);
    GIFImage1->setObjectName(QStringLiteral("GIFImage1"));
}

TGifPrevForm::~TGifPrevForm()
{
    releasePicture();
}

bool TGifPrevForm::loadPicture(const QString &path)
{
    // The loader checks the size in the header and decodes the first frame
    // within its limits before the animation reads the file.
    const QImage first = LoadPictureBitmap(path);
    if (first.isNull())
        return false;
    m_movie = std::make_unique<QMovie>(path, QByteArray("gif"));
    if (!m_movie->isValid()) {
        m_movie.reset();
        return false;
    }
    m_movie->setCacheMode(QMovie::CacheNone);
    GIFImage1->setMovie(m_movie.get());
    GIFImage1->resize(first.size());
    m_movie->start();
    setPicture(GIFImage1, path);
    return true;
}

void TGifPrevForm::releasePicture()
{
    if (!m_movie)
        return;
    m_movie->stop();
    GIFImage1->setMovie(nullptr);
    m_movie.reset();
}
