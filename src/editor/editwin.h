// The document window: one document in an MDI child.
#pragma once

#include <QWidget>

class TColorMemo;
class TMainHost;

class TEditForm : public QWidget
{
    Q_OBJECT

public:
    TEditForm(TMainHost *host, QWidget *parent = nullptr);
    ~TEditForm() override;

    QString FileName; // without folder; empty for a document never saved
    QString FilePath; // folder with a trailing separator; empty for a new document
    QString fullPath() const { return FilePath + FileName; }

    TColorMemo *ColorMemo = nullptr;

    void ApplyColorScheme();

    bool isModified() const;
    // True while the window is being torn down; it no longer counts as a document then.
    bool isBeingDestroyed() const { return m_destroying; }

private:
    TMainHost *m_host;
    bool m_destroying = false;

    void ColorMemoChange();
};
