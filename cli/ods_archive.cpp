// SPDX-License-Identifier: MIT
#include "cli/ods_archive.h"

#include <dlfcn.h>
#include <zip.h>

#include <memory>
#include <type_traits>

namespace {

// 1 January 1980, the first time a zip file can hold: nothing of the moment it was made.
constexpr time_t kFixedTime = 315532800;

// libzip, loaded when a spreadsheet is first made: linked at start it would bring its own
// libraries (a crypto one among them) to every run, and cost each report a third more time
// to start.
struct Libzip {
    decltype(&zip_source_buffer_create) sourceBufferCreate;
    decltype(&zip_source_keep) sourceKeep;
    decltype(&zip_source_free) sourceFree;
    decltype(&zip_open_from_source) openFromSource;
    decltype(&zip_source_buffer) sourceBuffer;
    decltype(&zip_file_add) fileAdd;
    decltype(&zip_set_file_compression) setFileCompression;
    decltype(&zip_file_set_mtime) fileSetMtime;
    decltype(&zip_close) close;
    decltype(&zip_discard) discard;
    decltype(&zip_stat_init) statInit;
    decltype(&zip_source_stat) sourceStat;
    decltype(&zip_source_open) sourceOpen;
    decltype(&zip_source_read) sourceRead;
    decltype(&zip_source_close) sourceClose;

    // The library as Debian's libzip4 installs it; null when it cannot be loaded.
    static const Libzip* Load() {
        static const std::unique_ptr<Libzip> loaded = [] {
            void* library = dlopen("libzip.so.4", RTLD_NOW | RTLD_LOCAL);
            if (!library) {
                return std::unique_ptr<Libzip>();
            }
            auto zip = std::make_unique<Libzip>();
            bool found = true;
            const auto symbol = [&](auto& function, const char* name) {
                function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                    dlsym(library, name));
                found = found && function != nullptr;
            };
            symbol(zip->sourceBufferCreate, "zip_source_buffer_create");
            symbol(zip->sourceKeep, "zip_source_keep");
            symbol(zip->sourceFree, "zip_source_free");
            symbol(zip->openFromSource, "zip_open_from_source");
            symbol(zip->sourceBuffer, "zip_source_buffer");
            symbol(zip->fileAdd, "zip_file_add");
            symbol(zip->setFileCompression, "zip_set_file_compression");
            symbol(zip->fileSetMtime, "zip_file_set_mtime");
            symbol(zip->close, "zip_close");
            symbol(zip->discard, "zip_discard");
            symbol(zip->statInit, "zip_stat_init");
            symbol(zip->sourceStat, "zip_source_stat");
            symbol(zip->sourceOpen, "zip_source_open");
            symbol(zip->sourceRead, "zip_source_read");
            symbol(zip->sourceClose, "zip_source_close");
            return found ? std::move(zip) : std::unique_ptr<Libzip>();
        }();
        return loaded.get();
    }
};

bool AddFiles(const Libzip& zip, zip_t* archive, const std::vector<PackageFile>& files) {
    for (const PackageFile& file : files) {
        // libzip reads the bytes when the archive is closed; `files` outlives that.
        zip_source_t* bytes = zip.sourceBuffer(archive, file.bytes.data(), file.bytes.size(), 0);
        const zip_int64_t index =
            bytes ? zip.fileAdd(archive, file.name.c_str(), bytes, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip.sourceFree(bytes);
            return false;
        }
        const auto entry = static_cast<zip_uint64_t>(index);
        if (zip.setFileCompression(archive, entry, file.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                   0) != 0 ||
            zip.fileSetMtime(archive, entry, kFixedTime, 0) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string ZipPackage(const std::vector<PackageFile>& files) {
    const Libzip* zip = Libzip::Load();
    if (!zip) {
        return {};
    }
    // In memory, kept when the archive is closed so that its bytes can be read back.
    const std::unique_ptr<zip_source_t, decltype(zip->sourceFree)> source(
        zip->sourceBufferCreate(nullptr, 0, 0, nullptr), zip->sourceFree);
    if (!source) {
        return {};
    }
    zip->sourceKeep(source.get());
    zip_t* archive = zip->openFromSource(source.get(), ZIP_TRUNCATE, nullptr);
    if (!archive) {
        zip->sourceFree(source.get());  // the reference kept for the archive
        return {};
    }
    if (!AddFiles(*zip, archive, files) || zip->close(archive) != 0) {
        zip->discard(archive);
        return {};
    }
    zip_stat_t stat;
    zip->statInit(&stat);
    if (zip->sourceStat(source.get(), &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
        zip->sourceOpen(source.get()) != 0) {
        return {};
    }
    std::string bytes(stat.size, '\0');
    const zip_int64_t read = zip->sourceRead(source.get(), bytes.data(), bytes.size());
    zip->sourceClose(source.get());
    return read == static_cast<zip_int64_t>(bytes.size()) ? bytes : std::string();
}
