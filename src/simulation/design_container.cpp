// SPDX-License-Identifier: MIT
#include "simulation/design_container.h"

#include <zip.h>
#include <zlib.h>

#include <array>
#include <memory>

#include "simulation/import_limits.h"

namespace tevusb::simulation {

namespace {

constexpr std::size_t kChunk = 64u << 10;
const std::string kTooLarge =
    "the design unpacks to more than " + std::to_string(ImportLimits::kMaxXmlBytes >> 20) + " MB";

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

bool endsWithOrk(const char* name) {
    const std::string_view text = name == nullptr ? "" : name;
    if (text.size() < 4) {
        return false;
    }
    std::string tail(text.substr(text.size() - 4));
    for (char& c : tail) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return tail == ".ork";
}

ImportResult<std::size_t> unpackZip(std::string_view bytes, const std::string& where,
                                    const XmlSink& sink) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source == nullptr) {
        zip_error_fini(&error);
        return ImportError{where + "out of memory for the zip reader"};
    }
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!archive) {
        zip_source_free(source);
        const std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        return ImportError{where + "damaged zip container (" + reason + ")"};
    }
    zip_error_fini(&error);
    const zip_int64_t entries = zip_get_num_entries(archive.get(), 0);
    if (entries <= 0) {
        return ImportError{where + "the zip container holds no files"};
    }
    if (static_cast<std::size_t>(entries) > ImportLimits::kMaxZipEntries) {
        return ImportError{where + "the zip container holds more than " +
                           std::to_string(ImportLimits::kMaxZipEntries) + " files"};
    }
    // The design is the first entry; should a tool have reordered the archive, the
    // first .ork entry is it.
    zip_uint64_t index = 0;
    const std::size_t scan = std::min<std::size_t>(static_cast<std::size_t>(entries), 64);
    if (!endsWithOrk(zip_get_name(archive.get(), 0, 0))) {
        for (zip_uint64_t i = 1; i < scan; ++i) {
            if (endsWithOrk(zip_get_name(archive.get(), i, 0))) {
                index = i;
                break;
            }
        }
    }
    std::unique_ptr<zip_file_t, ZipFileCloser> file(zip_fopen_index(archive.get(), index, 0));
    if (!file) {
        return ImportError{where + "cannot open the design inside the zip (" +
                           zip_strerror(archive.get()) + ")"};
    }
    std::array<char, kChunk> buffer;
    std::size_t total = 0;
    while (true) {
        const zip_int64_t got = zip_fread(file.get(), buffer.data(), buffer.size());
        if (got < 0) {
            return ImportError{where + "damaged zip container (" + zip_file_strerror(file.get()) +
                               ")"};
        }
        if (got == 0) {
            return total;
        }
        total += static_cast<std::size_t>(got);
        if (total > ImportLimits::kMaxXmlBytes) {
            return ImportError{where + kTooLarge};
        }
        if (!sink(buffer.data(), static_cast<std::size_t>(got))) {
            return total;
        }
    }
}

ImportResult<std::size_t> unpackGzip(std::string_view bytes, const std::string& where,
                                     const XmlSink& sink) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        return ImportError{where + "out of memory for the gzip reader"};
    }
    std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&stream, inflateEnd);
    std::array<char, kChunk> buffer;
    std::size_t total = 0;
    std::string_view rest = bytes;
    while (true) {
        if (stream.avail_in == 0 && !rest.empty()) {
            const std::size_t piece = std::min<std::size_t>(rest.size(), 1u << 30);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(rest.data()));
            stream.avail_in = static_cast<uInt>(piece);
            rest.remove_prefix(piece);
        }
        stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
        stream.avail_out = static_cast<uInt>(buffer.size());
        const int status = inflate(&stream, Z_NO_FLUSH);
        const std::size_t got = buffer.size() - stream.avail_out;
        total += got;
        if (total > ImportLimits::kMaxXmlBytes) {
            return ImportError{where + kTooLarge};
        }
        if (got > 0 && !sink(buffer.data(), got)) {
            return total;
        }
        if (status == Z_STREAM_END) {
            return total;
        }
        if (status == Z_BUF_ERROR && stream.avail_in == 0 && rest.empty()) {
            return ImportError{where + "the compressed design ends early (a truncated file)"};
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            return ImportError{where + "damaged gzip data (" +
                               (stream.msg != nullptr ? stream.msg : "inflate failed") + ")"};
        }
    }
}

}  // namespace

DesignContainer designContainerOf(std::string_view bytes) {
    if (bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06")) {
        return DesignContainer::Zip;
    }
    if (bytes.starts_with("\x1f\x8b")) {
        return DesignContainer::Gzip;
    }
    return DesignContainer::Plain;
}

ImportResult<std::size_t> unpackDesign(std::string_view bytes, const std::string& where,
                                       const XmlSink& sink) {
    switch (designContainerOf(bytes)) {
        case DesignContainer::Zip:
            return unpackZip(bytes, where, sink);
        case DesignContainer::Gzip:
            return unpackGzip(bytes, where, sink);
        case DesignContainer::Plain:
            break;
    }
    if (bytes.size() > ImportLimits::kMaxXmlBytes) {
        return ImportError{where + kTooLarge};
    }
    sink(bytes.data(), bytes.size());
    return bytes.size();
}

}  // namespace tevusb::simulation
