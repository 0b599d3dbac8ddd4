#pragma once

#include <QStringList>

#include <optional>

class QFileDialog;
class QWidget;

// Asks the user for the files to convert.
class CFileChooser {
public:
    virtual ~CFileChooser() = default;

    // The chosen files in the dialog's order, or nothing when the user cancelled.
    virtual std::optional<QStringList> ChooseFiles(QWidget* pParent) = 0;
};

// The platform's file dialog, several files at a time, WDQ files first.
class CFileDialogChooser : public CFileChooser {
public:
    std::optional<QStringList> ChooseFiles(QWidget* pParent) override;

    static void SetUpDialog(QFileDialog& dialog);
};
