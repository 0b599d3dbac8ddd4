#include "ui/CFileChooser.h"

#include <QFileDialog>

std::optional<QStringList> CFileDialogChooser::ChooseFiles(QWidget* pParent)
{
    QFileDialog dialog(pParent);
    SetUpDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFiles();
}

void CFileDialogChooser::SetUpDialog(QFileDialog& dialog)
{
    dialog.setWindowTitle(QFileDialog::tr("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    // The user sees the first parenthesis of each name; the last one holds the patterns.
    // Upper-case names count too, and "all files" includes names without a dot.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(
        {QStringLiteral("WDQ Files (*.wdq) (*.wdq *.WDQ)"), QStringLiteral("All Files (*.*) (*)")});
    dialog.selectNameFilter(dialog.nameFilters().constFirst());
}
