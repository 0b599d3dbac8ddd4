#pragma once

// What the desktop tests share: a message sink and a file chooser that never block, and
// a run of the application in a scratch folder with scratch settings.

#include "engine/CMessageSink.h"
#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"
#include "ui/CFileChooser.h"
#include "ui/CMainFrame.h"
#include "ui/CTarvekApp.h"
#include "ui/CTarvekView.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTreeWidget>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvek::test {

class CRecordingSink : public CMessageSink {
public:
    void ShowMessage(const std::string& strText, EMessageIcon eIcon) override
    {
        m_messages.emplace_back(strText, eIcon);
    }
    void ShowWarning(const std::string& strText) override { m_warnings.push_back(strText); }

    QStringList Texts() const
    {
        QStringList texts;
        for (const auto& message : m_messages)
            texts.append(QString::fromStdString(message.first));
        return texts;
    }

    std::vector<std::pair<std::string, EMessageIcon>> m_messages;
    std::vector<std::string> m_warnings;
};

// Answers each File Open with the next prepared selection; none left means "cancelled".
class CScriptedChooser : public CFileChooser {
public:
    std::optional<QStringList> ChooseFiles(QWidget*) override
    {
        ++m_nCalls;
        if (m_answers.empty())
            return std::nullopt;
        const QStringList files = m_answers.front();
        m_answers.pop_front();
        return files;
    }

    std::deque<QStringList> m_answers;
    int m_nCalls = 0;
};

// Keeps every test away from the user's own settings, whatever a test creates.
inline void UseScratchSettingsEverywhere(const CScratchDir& dir)
{
    QStandardPaths::setTestModeEnabled(true);
    const QString strPath = QString::fromStdString(dir.Path("default-settings"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, strPath);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, strPath);
}

inline std::vector<std::uint8_t> Recording(int nSamples = 40)
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 2000;
    builder.m_nChannelByte = 1;
    builder.m_words.assign(static_cast<std::size_t>(nSamples), 0x0010);
    return builder.Build();
}

// One run of the application, its files in a scratch folder.
class CTestRun {
public:
    explicit CTestRun(CFileSystem& fileSystem = GetDiskFileSystem())
        : m_strSettings(QString::fromStdString(m_dir.Path("settings.ini"))),
          m_pApp(std::make_unique<CTarvekApp>(OpenSettings(), fileSystem))
    {
        m_pApp->SetMessageSink(&m_sink);
        m_pApp->SetFileChooser(&m_chooser);
    }

    std::unique_ptr<QSettings> OpenSettings() const
    {
        return std::make_unique<QSettings>(m_strSettings, QSettings::IniFormat);
    }

    // A new run of the program with the same settings and files.
    void Restart(CFileSystem& fileSystem = GetDiskFileSystem())
    {
        m_pApp.reset();
        m_pApp = std::make_unique<CTarvekApp>(OpenSettings(), fileSystem);
        m_pApp->SetMessageSink(&m_sink);
        m_pApp->SetFileChooser(&m_chooser);
    }

    QString Write(const std::string& strName, const std::vector<std::uint8_t>& bytes = Recording()) const
    {
        return QString::fromStdString(m_dir.Write(strName, bytes));
    }
    QString Path(const std::string& strName) const { return QString::fromStdString(m_dir.Path(strName)); }

    CTarvekApp& App() { return *m_pApp; }
    CMainFrame& Frame() { return *m_pApp->GetMainWnd(); }
    QTreeWidget& List() { return *Frame().GetActiveView()->ResultList(); }

    // The rows of the results list, "source | target | result".
    QStringList Rows()
    {
        QStringList rows;
        for (int i = 0; i < List().topLevelItemCount(); ++i) {
            const QTreeWidgetItem* pItem = List().topLevelItem(i);
            rows.append(pItem->text(0) + " | " + pItem->text(1) + " | " + pItem->text(2));
        }
        return rows;
    }

    // The records of the run, in the same form.
    QStringList Records() const
    {
        QStringList records;
        for (const ConversionRecord& record : m_pApp->GetRecords().m_records)
            records.append(QString::fromStdString(record.m_strSource + " | " + record.m_strTarget + " | " +
                                                  record.m_strResult));
        return records;
    }

    static QString Row(const QString& strSource, const QString& strTarget, const char* pszResult)
    {
        return strSource + " | " + strTarget + " | " + pszResult;
    }
    static QString Converted(const QString& strSource)
    {
        return Row(strSource, strSource.chopped(4) + ".c3d", "Converted");
    }

    CScratchDir m_dir;
    QString m_strSettings;
    CRecordingSink m_sink;
    CScriptedChooser m_chooser;

private:
    std::unique_ptr<CTarvekApp> m_pApp;
};

} // namespace tarvek::test
