// OrvSceneMgr: owns the scenes, a list of them in creation order. Deleting
// the scenes leaves their nodes to the node manager. The single instance
// lives until the process ends and is kept out of the allocator's leak
// report.
#pragma once

#include "core/orv_linked_list.h"

class OrvScene;

class OrvSceneMgr : public OrvLinkedList {
  public:
    static OrvSceneMgr* getInstance();

    // Null when the scene could not be made. A null name keeps "scene_%d".
    OrvScene* createScene(const char* name);
    // Deletes every scene after emptying its lists, so no node is destroyed.
    void destroyAllScenes();
    void terminate();

  private:
    OrvSceneMgr() = default;
    ~OrvSceneMgr() = default;
};
