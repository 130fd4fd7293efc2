// The archive's exception family: EKC for the codec and the archive component, EKCFH for the
// header list. Messages are fixed texts with the path or name appended; support staff and
// build logs read them, so they stay word for word.
#pragma once

#include <string>

#include "runtime/SysUtils.h"

class EKC : public rt::Exception {
public:
    using rt::Exception::Exception;
};

class EKCCannotCreateTemp : public EKC {
public:
    EKCCannotCreateTemp() : EKC("Cannot open a temporary file into which to compress a file") {}
};

// A file to add or to copy cannot be opened.
class EKCCouldNotOpenFile : public EKC {
public:
    explicit EKCCouldNotOpenFile(std::string path) : EKC("Could not open the following file: " + path), FileName(std::move(path)) {}
    std::string FileName;

protected:
    EKCCouldNotOpenFile(std::string message, std::string path) : EKC(std::move(message)), FileName(std::move(path)) {}
};

// A volume of the archive is missing or cannot be opened.
class EKCCouldNotOpenCompressedFile : public EKCCouldNotOpenFile {
public:
    explicit EKCCouldNotOpenCompressedFile(std::string path)
        : EKCCouldNotOpenFile(
              "Could not open the compressed file. The following value is the current value of the CompressedFile property: " + path,
              path) {}
};

// A file whose name the system's ANSI code page cannot hold: the archive keeps names in it.
class EKCNameOutsideCodePage : public EKC {
public:
    explicit EKCNameOutsideCodePage(std::string path)
        : EKC("The name of the following file cannot be stored in the archive in this system's code page: " + path),
          FileName(std::move(path)) {}
    std::string FileName;
};

class EKCCouldNotCreateFile : public EKC {
public:
    explicit EKCCouldNotCreateFile(std::string path) : EKC("Could not create the file " + path), FileName(std::move(path)) {}
    std::string FileName;
};

class EKCDiskFull : public EKC {
public:
    EKCDiskFull() : EKC("Disk is full") {}
};

// Abort was set: the running add or extract stops at its next buffer.
class EKCStop : public EKC {
public:
    EKCStop() : EKC("Operation aborted by user") {}
};

class EKCWrongDecompressedSize : public EKC {
public:
    explicit EKCWrongDecompressedSize(std::string storedName)
        : EKC("The decompressed file's size does not match with the actual size the file.  The file is " + storedName),
          StoredName(std::move(storedName)) {}
    std::string StoredName;
};

// A read handler reported a count outside 0..8192.
class EKCInvalidBufferCount : public EKC {
public:
    explicit EKCInvalidBufferCount(int count)
        : EKC(std::string("The read handler reported ") + std::to_string(count) + " bytes; a buffer holds 0 to 8192"), Count(count) {}
    int Count;
};

// A file or an archive beyond the 32-bit sizes and offsets of the format.
class EKCArchiveTooLarge : public EKC {
public:
    EKCArchiveTooLarge(std::string message, std::string path) : EKC(std::move(message) + path), FileName(std::move(path)) {}
    std::string FileName;
};

// Files cannot be appended to this archive; it must be rebuilt.
class EKCCannotAppend : public EKC {
public:
    EKCCannotAppend(std::string message, std::string path) : EKC(std::move(message) + path), FileName(std::move(path)) {}
    std::string FileName;
};

// ---- the header list --------------------------------------------------------------------

class EKCFH : public EKC {
public:
    using EKC::EKC;
};

class EKCFHInvalidNewFileHeader : public EKCFH {
public:
    EKCFHInvalidNewFileHeader() : EKCFH("Tried to add an invalid file header") {}
};

class EKCFHFileNotInArchive : public EKCFH {
public:
    explicit EKCFHFileNotInArchive(std::string line)
        : EKCFH("The following file was not found in the archive: " + line), FileName(std::move(line)) {}
    std::string FileName;
};

class EKCFHCannotReadHeaders : public EKCFH {
public:
    EKCFHCannotReadHeaders()
        : EKCFH("Could not read the file headers for the compressed file. The Archive file could possible be corrupt.") {}
};

class EKCFHCannotWriteHeaders : public EKCFH {
public:
    EKCFHCannotWriteHeaders() : EKCFH("Could not write the file headers for the compressed file") {}
};

class EKCFHCannotReadHeaderCount : public EKCFH {
public:
    EKCFHCannotReadHeaderCount() : EKCFH("Could not read the file header count for the compressed file") {}
};
