#include "ui/HelpFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace qpx::ui {

QString HelpFilePath(const QString& programDirectory) {
    return QDir(programDirectory).absoluteFilePath(QString::fromLatin1(kHelpFileName));
}

QUrl HelpUrl(const QString& helpFile) {
    QUrl url = QUrl::fromLocalFile(helpFile);
    url.setFragment(QStringLiteral("context-%1").arg(kHelpContext));
    return url;
}

bool OpenHelp(const QString& programDirectory, link::MessageSink& messages,
              const DocumentOpener& open) {
    const QString path = QDir::toNativeSeparators(HelpFilePath(programDirectory));
    if (!QFileInfo(HelpFilePath(programDirectory)).isFile()) {
        const QByteArray text =
            QStringLiteral("The help file was not found. It was looked for here:\n\n%1")
                .arg(path)
                .toUtf8();
        messages.showMessage(
            std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
        return false;
    }
    if (open && open(HelpUrl(HelpFilePath(programDirectory))))
        return true;
    const QByteArray text =
        QStringLiteral("No program could open the help file:\n\n%1").arg(path).toUtf8();
    messages.showMessage(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    return false;
}

bool OpenHelp(link::MessageSink& messages) {
    return OpenHelp(QCoreApplication::applicationDirPath(), messages,
                    [](const QUrl& url) { return QDesktopServices::openUrl(url); });
}

} // namespace qpx::ui
