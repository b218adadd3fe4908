#pragma once

#include "TalkExport.h"

#include <string>

namespace talk {
class PositionalFile;
}

/**
 * Every user's trained voice models in one file ("halvoxuvd.dat" in the installation folder): an array
 * of 125000-byte slots, each holding an in-use flag, the user's ID and certificate key (enciphered
 * under the process key) and six sections "aaj" to "afj" of one model file each (at most 20655 bytes).
 * The engine works on plain model files in the work folder (name + ".bin"); GetUserVoice copies a
 * section out there, SetUserVoice copies a model back in.
 *
 * Operations return 1 on success and 0 on failure (unknown user, a name other than the six, a model
 * too large for its section, an ID or certificate key too long for its field, a file that cannot be
 * read or written); GetLastErrorText tells why. A refused operation writes nothing. Every length read
 * from the file is checked against its field before use. Methods never throw. Each operation opens
 * and closes the file itself. Programs share the file: every change holds an exclusive lock beside it
 * from its search to its last write, and every read a shared one, so two programs never take the same
 * slot and a reader never sees a model half written.
 */
class TALK_API CAppUserVoiceDic
{
public:
    CAppUserVoiceDic();
    virtual ~CAppUserVoiceDic();
    CAppUserVoiceDic(const CAppUserVoiceDic&) = default;
    CAppUserVoiceDic& operator=(const CAppUserVoiceDic&) = default;

    /**
     * Uses folder + "/halvoxuvd.dat" as the dictionary and folder + "/work/" as the work folder,
     * creating an empty dictionary when none is there. @return 1; 0 when it cannot be created.
     */
    int SetVoiceDicPath(std::string folder) noexcept;
    /** Uses the two paths as given (a dictionary copy elsewhere); nothing is created. */
    void SetBackupVoiceDicPath(std::string dicPath, std::string workFolder) noexcept;
    /** Creates (or empties) the file at `path`. @return 1 on success. */
    int CreateVoiceDic(std::string path) noexcept;

    /**
     * Takes the first free slot, or appends one, for the user; a reused slot starts with no models.
     * Does not look for a slot the user already has.
     * @return 1; 0 when the ID enciphers to more than 176 bytes (IDs above 51 bytes) or the key to more
     *         than 240 (keys above 83 bytes), or on a file failure.
     */
    int AddUser(std::string id, std::string certiKey) noexcept;
    /** Marks the user's slot free (its other bytes stay). @return 1; 0 when the user is not found. */
    int DelUser(std::string id, std::string certiKey) noexcept;
    /**
     * Copies the work-folder file `name` + ".bin" into the user's section `name`.
     * @return 1; 0, writing nothing, when the name is none of the six, the model is larger than 20655
     *         bytes or unreadable, or the user is not found.
     */
    int SetUserVoice(std::string id, std::string certiKey, std::string name) noexcept;
    /**
     * Writes the user's section `name` to the work-folder file `name` + ".bin" (exactly its length; an
     * empty section gives an empty file). A damaged section (length beyond the section) leaves an empty
     * model file, so that no earlier user's model is left in its place, and gives 0.
     * @return 1; 0 when the name is none of the six, the user is not found or the section is damaged.
     */
    int GetUserVoice(std::string id, std::string certiKey, std::string name) noexcept;
    /** Forgets the user's section `name`. @return 1; 0 for another name or an unknown user. */
    int DelUserVoice(std::string id, std::string certiKey, std::string name) noexcept;

    /**
     * Index of the user's slot in the dictionary file `file`, or -1. The first in-use slot whose ID
     * matches (ASCII case ignored) decides: its certificate key must match too, else -1.
     */
    int FindIDPos(std::string id, std::string certiKey, std::string file) const noexcept;
    /** Index of the first free slot of `file`, or -1 when there is none or the file is empty. */
    int FindBlankSlot(std::string file) const noexcept;
    /** Lengthens `file` by one zeroed slot (a partial last slot is completed first). @return its index, or -1. */
    int AddSlot(std::string file) noexcept;
    /** File offset of section `name` (ASCII case ignored) of slot `slot`; 0 for a name other than the six. */
    unsigned long GetNickPos(std::string name, unsigned long slot) const noexcept;

    const std::string& GetVoiceDicPath() const noexcept { return m_dicPath; }
    const std::string& GetWorkFolder() const noexcept { return m_workFolder; }
    /** Reason of the last failure, "" when none. */
    const std::string& GetLastErrorText() const noexcept { return m_lastError; }

private:
    int FindSlot(talk::PositionalFile& file, const std::string& id, const std::string& certiKey) const;
    int FindFreeSlot(talk::PositionalFile& file) const;
    int AppendSlot(talk::PositionalFile& file);
    int OpenUserSection(talk::PositionalFile& file, const std::string& id, const std::string& certiKey,
        const std::string& name, unsigned long& sectionPos);
    std::string ModelPath(const std::string& name) const;
    int Fail(std::string reason) const;

    std::string m_workFolder;
    std::string m_dicPath;
    mutable std::string m_lastError;
};
