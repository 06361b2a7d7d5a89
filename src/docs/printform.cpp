#include "printform.h"

TPrintForm::TPrintForm(const QString &folder, const QString &fileName, const QString &printerFont, int printerFontSize, LinesSource source)
    : QRFilename(folder + fileName)
    , memoFont(printing::reportFont(printerFont, printerFontSize))
    , title(printing::jobTitle(folder + fileName))
    , m_source(std::move(source))
{}

bool TPrintForm::QuickRep1NeedData()
{
    if (m_delivered) {
        m_delivered = false;
        return false;
    }
    if (m_source) {
        if (std::optional<QStringList> lines = m_source())
            QRMemo1 = std::move(*lines);
    }
    m_delivered = true;
    return true;
}

printing::Report TPrintForm::run()
{
    while (QuickRep1NeedData()) {
    }
    return printing::Report{QRFilename, QRMemo1, memoFont, title};
}
