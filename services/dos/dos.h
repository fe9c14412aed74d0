#pragma once
// The static utility class DOS: files, paths, help, settings, processes, services, environment, access
// rights, sounds and the system's other needs of the platform. Its settings members forward to the store
// (settings_store.h) under class names.
//
// Paths are text in the Windows grammar ("X:\dir\name.ext", names compared without case); they become paths
// of this file system only where a file is touched, through the path mapper (platform/path_map.h). Members
// that return text return library-owned buffers that the next call of the same family overwrites: callers
// copy what they keep.
#include <cstdint>
#include <cstdio>
#include <memory>

// A beep: a tone in hertz (negative: the PC speaker, with the absolute value as the timer's counter value),
// its duration in milliseconds, and a pause after which, when above 0, the beep sounds once more.
struct BeepRecord {
    std::int32_t tone;
    std::int32_t duration;
    std::int32_t pause;
};
static_assert(sizeof(BeepRecord) == 12);

class DOS {
public:
    // An instance carries a trace file. Copies share it; the last one writes a closing line and closes it.
    explicit DOS(std::FILE* traceFile = nullptr);

    // Formats (512 characters at most), writes to the trace file and prints through the output routing; the
    // wide form writes to the file only. The number of records written: 0 without a trace file.
    int trace(const char* format, ...) __attribute__((format(printf, 2, 3)));
    int trace(const wchar_t* format, ...);

    // Exported settings for the system's programs.
    static int Nbresauve;           // backups kept by Archive when its count is 0 (20)
    static int Poste;               // workstation number (1)
    static int gWinNT;              // cached answer of WinNT (-1 until asked)
    static int Debug;               // debug switch (0)
    static long m_ModulesArxLoaded; // for outside callers (0)
    static char m_NomChtDef[260];   // the default job file; its folder is searched by Localise_fichier
    static char* chemins_aide;      // the help folder, found once by Aide
    static char* chemins_aideZorta; // path slots for outside callers
    static char* chemins_ENTETE;
    static char* chemins_WAU;
    static char* Dwg_Dxf;

    // Settings.
    static long Gets_ini(const char* file, const char* section, const char* letters, const char* key,
                         char* buffer, long size);
    static long Geti_ini(const char* file, const char* section, const char* letters, const char* key,
                         int* out);
    static long Getr_ini(const char* file, const char* section, const char* letters, const char* key,
                         double* out);
    static long Sets_ini(const char* file, const char* section, const char* letters, const char* key,
                         const char* value);
    static long Seti_ini(const char* file, const char* section, const char* letters, const char* key,
                         const int* value);
    static long Setr_ini(const char* file, const char* section, const char* letters, const char* key,
                         const double* value);

    // A heap copy (malloc) of the setting of file "ZORTA" (at most 1,999 characters), or of `defaultText`
    // when the setting is absent or empty and the default is not; null when neither exists. The slot's
    // previous text is freed first and the new one stored in it.
    static char* Alloc_ini(char** slot, const char* section, const char* letters, const char* key,
                           const char* defaultText);
    // Frees the slot's text and clears the slot.
    static void Free_ini(char** slot);

    // Paths. Parts of a path: U the drive, R the folder, N the name, E the extension with its dot.
    static char* GetPName(const char* path, const char* parts);
    static int Controle_chemin(const char* path, char* drive, char* folder, char* name, char* extension,
                               int check);
    static char* Chemin_comme(const char* path, const char* model, const char* defaultExtension, int flags);
    static char* GetNameAs(const char* source, const char* pattern);
    static char* Localise_fichier(char* out, const char* name, const char* searchPath, int jobFolder);
    static int TestJocker(const char* path);

    // Files and folders.
    static std::uint32_t Taille_fichier(const char* name);
    static int Copy(const char* newName, const char* existingName, int overwrite);
    static int Rename(const char* existingName, const char* newName, int overwrite);
    static int Delete(const char* name);
    static int CreateDir(const char* folder, int depth);
    static int DeleteDirectory(const char* folder);
    static int Directory(char* buffer, int mode);
    static char* GetTmpFile(const char* pattern);
    static int AppendFile(const char* file, const char* text, int flags);
    static char* Archive(const char* file, char mode, int count, int flags, int checkOpen);
    static long CreateLink(const char* target, const char* shortcut, const char* description);
    static int GetFolder(std::uint64_t owner, const char* startFolder, char* out, const char* title);
    static int VerifyPath(const char* folder, int mode);

    // Help.
    static int Aide(const char* file, const char* topic, int type);
    static int AideHtml(const char* file, const char* topic, int type);

    // Programs, processes and services.
    static int Shell(const char* commandLine, int wait);
    static int FindProcess(const char* program, int flags);
    static int CloseService(const char* name, int flags);

    // Machine, environment and rights.
    static char* ComputerName();
    static char* GetEnv(const char* name, int flags);
    static int SetEnv(const char* name, const char* value, int flags);
    static int GetMemUsed(int* available);
    static int RightIsElevated();
    static int RightIsRunAsAdmin();
    static int RightTakeOwnership(const char* path, int unused);
    static long SetRegKeySecurityAllAccess(int machine, const char* key);
    static int UpdateIntranet(const char* host);
    static int WinNT();

    // Windows of the machine's programs (handles of the window bus, platform/message_bus.h).
    // The first top-level window of thread `threadId`, 0 when none.
    static std::uint64_t GetMainThreadWindow(int threadId);
    // The first top-level window whose title (its first 199 characters) begins with `titleStart`, case
    // ignored.
    static std::uint64_t FindWindowA(const char* titleStart);
    // Types `text` into the control that has the focus in `target` (0: the foreground window); "0x" and two
    // hexadecimal digits type that character. The number of characters read from the text.
    static int clav_write(const char* text, std::uint64_t target);

    // Pop-up menus, code pages of files, beeps.
    static int popmenu(const char* file, const char* section, char* out);
    static int win(const char* file, int mode, int direction);
    static int Bip(const BeepRecord* beep);

    // Forgets the process-wide caches and result buffers (tests).
    static void Reset();

private:
    std::shared_ptr<std::FILE> m_trace;
};

// The exit code of a program waited for, STILL_ACTIVE when a wait with a limit ran out.
constexpr int STILL_ACTIVE = 259;

// Starts a program or opens a document. `wait` 0 does not wait (the result is the new process's id), 1 to 999
// waits without limit, 1,000 and more waits that many milliseconds (the result is the exit code, or
// STILL_ACTIVE). A command beginning with "/x", or flags bit 1, opens the rest with the desktop's opener
// (result 0). Flags bit 2 detaches the program; bit 0 hands a command that cannot be started to the shell
// (0 when the shell took it, -1 otherwise). -1 for a null or blank command.
int mshell(const char* commandLine, int wait, int flags);

// Waits `milliseconds` while serving the calling thread's window messages; a typed Ctrl-C or Escape ends the
// wait at once.
void SLEEP(int milliseconds);

// Brings the window's last active pop-up to the foreground, trying up to 10 times; 1 when it came there.
int MyForegroundWindow(std::uint64_t window);

int _bip(const BeepRecord* beep);
// Sounds the PC speaker through the port-access module; 0 without it.
int BeepBuzzer(int counter, int durationMs);

// Opens a settings file in the text editor; flags bit 0 waits for the editor, bit 1 offers to create a
// missing file. The result of DOS::Shell when the editor was started, else 0.
int EditIniFile(const char* file, const char* letters, int flags);
