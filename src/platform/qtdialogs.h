#pragma once

#include "dialogs.h"

namespace dialogs {

class QtDialogs : public Dialogs
{
public:
    Answer message(QWidget *parent, Kind kind, const QString &title, const QString &text, Buttons buttons) override;
    std::optional<FileResult> openFile(QWidget *parent, const FileRequest &request) override;
    std::optional<FileResult> saveFile(QWidget *parent, const FileRequest &request) override;
    std::optional<ColorValue> chooseColor(QWidget *parent, ColorValue initial) override;
    int runModal(QDialog &dialog) override;
    bool choosePrinter(QWidget *parent, QPrinter &printer) override;
};

} // namespace dialogs
