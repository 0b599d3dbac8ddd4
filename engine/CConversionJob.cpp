#include "engine/CConversionJob.h"

#include "engine/CCod.h"

namespace tarvek {

namespace {

// Ends the wait cursor on every way out of a conversion, exceptions included.
class CWaitCursor {
public:
    explicit CWaitCursor(CJobHost& host) : m_host(host) { m_host.BeginWaitCursor(); }
    ~CWaitCursor() { End(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void End()
    {
        if (m_bActive) {
            m_bActive = false;
            m_host.EndWaitCursor();
        }
    }

private:
    CJobHost& m_host;
    bool m_bActive = true;
};

} // namespace

bool CConversionJob::OnOpenDocument(const std::string& strPath)
{
    if (!m_fileSystem.Exists(strPath)) {
        m_host.AddRecord(strPath, "", kResultNotFound);
        m_host.ShowMessage("The selected file could not be found", EMessageIcon::Warning);
        return false;
    }
    const std::string strOpenFailure = "Could not open file " + strPath;
    const std::string strTarget = MakeTargetPath(strPath);

    // Writing the target would destroy the source before it is read.
    if (strTarget == strPath || m_fileSystem.IsSameFile(strPath, strTarget)) {
        m_host.AddRecord(strPath, strTarget, kResultCouldNotConvert);
        m_host.ShowMessage("The target file is the source file", EMessageIcon::Warning);
        m_host.ShowMessage(kResultCouldNotConvert, EMessageIcon::Warning);
        return false;
    }

    CCod cod(m_host, m_fileSystem);
    cod.m_strSourcePath = strPath;
    CWaitCursor waitCursor(m_host);
    bool bWritten;
    try {
        if (!cod.Open()) {
            m_host.AddRecord(strPath, strTarget, kResultCouldNotOpen);
            waitCursor.End();
            m_host.ShowMessage(strOpenFailure, EMessageIcon::Warning);
            return false;
        }
        bWritten = cod.WriteC3D(strTarget);
    } catch (const CFileException& error) {
        cod.FreeAll();
        waitCursor.End();
        if (error.m_eKind == CFileException::EKind::Read) {
            m_host.AddRecord(strPath, strTarget, kResultCouldNotOpen);
            m_host.ShowMessage("Could not read file " + strPath + ": " + error.m_strReason,
                               EMessageIcon::Warning);
            m_host.ShowMessage(strOpenFailure, EMessageIcon::Warning);
        } else {
            m_host.AddRecord(strPath, strTarget, kResultCouldNotConvert);
            m_host.ShowMessage("Could not write file " + strTarget + ": " + error.m_strReason,
                               EMessageIcon::Warning);
            m_host.ShowMessage(kResultCouldNotConvert, EMessageIcon::Warning);
        }
        return false;
    }
    cod.FreeAll();
    waitCursor.End();

    if (!bWritten) {
        m_host.AddRecord(strPath, strTarget, kResultCouldNotConvert);
        m_host.ShowMessage(kResultCouldNotConvert, EMessageIcon::Warning);
        return false;
    }
    m_host.AddRecord(strPath, strTarget, kResultConverted);
    if (m_host.IsBatchMode()) {
        m_host.UpdateAllViews();
        return true;
    }
    m_host.ExitInstance();
    return false;
}

} // namespace tarvek
