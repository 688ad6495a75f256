// SPDX-License-Identifier: GPL-3.0-or-later
// Asking for the PDF file.
#include "pdftarget.h"

#include "qlconsts.h"
#include "sysbib.h"

#include <QDir>
#include <QFileInfo>

std::optional<QString> AskPdfTarget(const QString& textName)
{
    FileDialogRequest request;
    request.caption = Tr(QlConsts::PdfTargetCaption);
    request.filter = Tr(QlConsts::PdfFilter);
    const QString pdfExt = QStringLiteral(".pdf");
    if (textName.isEmpty()) {
        request.directory = QDir::homePath();
        request.fileName = Tr(QlConsts::TextInput) + pdfExt;
    } else {
        request.directory = ExtractFileDir(textName);
        request.fileName = ChangeFileExt(ExtractFileName(textName), pdfExt);
    }
    const std::optional<FileDialogAnswer> answer = CurrentPrompter().SaveFileDialog(request);
    if (!answer || answer->files.isEmpty() || answer->files.first().isEmpty())
        return std::nullopt;
    QString target = answer->files.first();
    if (ExtractFileExt(target).isEmpty())
        target += pdfExt;
    if (QFileInfo::exists(target)
        && ConfirmationBox(target + Tr(QlConsts::AlreadyExistsRewrite), MsgButton::Yes | MsgButton::No)
               != MsgButton::Yes)
        return std::nullopt;
    return target;
}
