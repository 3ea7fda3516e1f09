// The volume document, the time course linked to it, and the protocol the plug-in names in the
// time course's header.

#include <cstdio>
#include <cstring>
#include <string>

#include "formats/ProtocolReader.h"
#include "headless/HostExports.h"
#include "headless/HostSession.h"
#include "headless/ProtocolLookup.h"
#include "headless/ProtocolWarnings.h"
#include "headless/TimeCourseRecord.h"

using formats::TimeCourseHeader;
using headless::HostSession;
using headless::hostSession;

namespace {

std::string formatMilliseconds(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// Finds and loads the named protocol as the current one. False (no current protocol) when it
// is not found or malformed; the console says where it was found or why not.
bool loadNamedProtocol(HostSession& session, const std::string& name) {
    session.protocol.reset();
    std::vector<std::string> tried;
    const auto volumeFolder =
        session.volume ? headless::folderOf(session.volume->path) : std::filesystem::path();
    const auto location =
        headless::findProtocolFile(name, session.timeCourse->folder, volumeFolder, tried);
    if (!location) {
        std::string why = "protocol " + name + " not found; looked at:";
        for (const auto& path : tried) {
            why += "\n  " + path;
        }
        session.refuse(why);
        return false;
    }
    formats::ProtocolRead read = formats::readProtocolFile(location->path.string());
    for (const auto& note : read.notes) {
        session.console.note("protocol " + location->path.string() + ", " + note);
    }
    if (!read.protocol) {
        session.refuse("protocol not loaded: " + read.error);
        return false;
    }
    const std::string path = location->path.string();
    session.console.note("protocol " + name + " found " + location->where + ": " + path);
    const formats::TimeCourseHeader& run = session.timeCourse->header;
    for (const auto& warning :
         headless::protocolWarnings(*read.protocol, run.nrOfVolumes, run.repetitionTimeMs)) {
        session.console.note("protocol " + name + ": " + warning);
    }
    session.protocol = std::move(read.protocol);
    session.observe([&](headless::RunObserver& o) {
        o.protocolLoaded(path, location->where, *session.protocol);
    });
    return true;
}

}  // namespace

extern "C" {

unsigned char* tkGetCurrentVMR(int* dimX, int* dimY, int* dimZ) {
    auto& volume = hostSession().volume;
    if (!volume) {
        return nullptr;
    }
    if (dimX != nullptr && dimY != nullptr && dimZ != nullptr) {
        *dimX = volume->dimX;
        *dimY = volume->dimY;
        *dimZ = volume->dimZ;
    }
    return volume->voxels.data();
}

int tkLinkVTCToCurrentVMR(const char* vtcPath, int /*flag*/) {
    auto& session = hostSession();
    // A new link replaces the old one; the design matrix belongs to the time course.
    session.timeCourse.reset();
    session.designMatrix.reset(0, 0.0);
    const std::string path = vtcPath != nullptr ? vtcPath : "";
    if (!session.volume) {
        session.refuse("cannot link the time course " + path + ": no volume document is open");
        return 0;
    }
    // One run per pair at a time: the file is locked before its header is read.
    auto lock = std::make_unique<headless::TimeCourseLock>(path, [&](const std::string& file) {
        session.console.note("waiting for another run on " + file);
    });
    formats::TimeCourseRead read = formats::readTimeCourseHeader(path);
    if (!read.header) {
        session.refuse("cannot link: " + read.error);
        return 0;
    }
    headless::LinkedTimeCourse linked;
    linked.lock = std::move(lock);
    linked.path = path;
    linked.folder = headless::folderOf(path);
    linked.header = std::move(*read.header);
    const std::string protocolName = linked.header.currentProtocolName();
    if (headless::fillVtcHeaderRecord(linked.header, protocolName, linked.record)) {
        session.console.note(
            "the time course's protocol name is cut to 511 characters in its "
            "header record");
    }
    session.designMatrix.reset(linked.header.nrOfVolumes, linked.header.repetitionTimeMs);
    session.console.note("linked time course " + path + " (" +
                         std::to_string(linked.header.nrOfVolumes) + " volumes, TR " +
                         formatMilliseconds(linked.header.repetitionTimeMs) + " ms, " +
                         std::to_string(linked.header.voxelCount) + " voxels)");
    session.timeCourse = std::move(linked);
    session.observe([&](headless::RunObserver& o) { o.linked(path, session.timeCourse->header); });
    return 1;
}

int tkGetHeaderOfVTCOfCurrentVMR(host::VtcHeaderRecord* header) {
    auto& session = hostSession();
    if (!session.timeCourse) {
        session.refuse("no time-course header to give: no time course is linked");
        return 0;
    }
    if (header == nullptr) {
        return 0;
    }
    std::memcpy(header, &session.timeCourse->record, sizeof *header);
    return 1;
}

int tkSetHeaderOfVTCOfCurrentVMR(host::VtcHeaderRecord* header) {
    auto& session = hostSession();
    if (!session.timeCourse || header == nullptr) {
        session.refuse("time-course header not taken: no time course is linked");
        return 0;
    }
    std::string name;
    std::string error;
    if (!headless::protocolNameHandedBack(session.timeCourse->record, *header, name, error)) {
        session.refuse("time-course header not taken: " + error);
        return 0;
    }
    std::memcpy(&session.timeCourse->record, header, sizeof *header);
    if (name.empty()) {
        return 1;
    }
    return loadNamedProtocol(session, name) ? 1 : 0;
}
}
