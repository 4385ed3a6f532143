// OrvBenchScene: a scene as the demo lays it out (the demo's camera, a white
// light above the grid) holding an OrvBoxField of small lit boxes. Its frame
// is the scene's own: update, begin, render, end. The engine must be started;
// the scene's nodes are destroyed with it.
#pragma once

#include <memory>

#include "orv_box_field.h"

class OrvScene;

class OrvBenchScene {
  public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    // Builds the scene and draws one frame, which groups the boxes' triangles
    // and computes their normals, so that later frames are steady-state ones.
    OrvBenchScene(int boxes, int materials);
    ~OrvBenchScene();

    OrvBenchScene(const OrvBenchScene&) = delete;
    OrvBenchScene& operator=(const OrvBenchScene&) = delete;

    void frame(float dt);

    OrvScene* scene() const { return m_scene; }
    const OrvBoxField& field() const { return *m_field; }
    OrvBoxField& field() { return *m_field; }

  private:
    OrvScene* m_scene;
    std::unique_ptr<OrvBoxField> m_field;
};
