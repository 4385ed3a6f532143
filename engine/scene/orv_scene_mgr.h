/// @file
/// OrvSceneMgr, the owner of the scenes.
#pragma once

#include "core/orv_linked_list.h"

class OrvScene;

/// Owns the scenes, a list of them (OrvScene pointers) in creation order.
/// Deleting the scenes leaves their nodes to the node manager. The single
/// instance lives until the process ends and is kept out of the allocator's leak
/// report.
class OrvSceneMgr : public OrvLinkedList {
  public:
    /// The single manager, made with an empty list at the first call.
    static OrvSceneMgr* getInstance();

    /// Null when the scene could not be made. A null name keeps "scene_%d".
    /// The manager owns the scene until destroyAllScenes; one it cannot list is
    /// deleted again, with a WARNING line, and null returned.
    OrvScene* createScene(const char* name);
    /// Deletes every scene after emptying its lists, so no node is destroyed.
    void destroyAllScenes();
    /// destroyAllScenes, then the DEBUG line "OrvSceneMgr::terminate(): ok.".
    void terminate();

  private:
    OrvSceneMgr() = default;
    ~OrvSceneMgr() = default;
};
