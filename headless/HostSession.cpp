#include "headless/HostSession.h"

namespace headless {

RunObserver::~RunObserver() = default;

void HostSession::refuse(std::string_view why) {
    ++refusedSteps;
    console.note(why);
    observe([&](RunObserver& o) { o.refused(why); });
}

bool HostSession::openVolumeDocument(const std::string& path, std::string& error) {
    formats::VolumeDocumentRead read = formats::readVolumeDocument(path);
    if (!read.document) {
        error = read.error;
        return false;
    }
    volume = std::move(read.document);
    return true;
}

HostSession& hostSession() {
    static HostSession session;
    return session;
}

void resetHostSession() {
    HostSession& session = hostSession();
    session.answers.clear();
    session.version = kDefaultHostVersion;
    session.volume.reset();
    session.timeCourse.reset();
    session.protocol.reset();
    session.designMatrix.reset(0, 0.0);
    session.refusedSteps = 0;
    session.savedDesignMatrices = 0;
    session.observer = nullptr;
}

}  // namespace headless
