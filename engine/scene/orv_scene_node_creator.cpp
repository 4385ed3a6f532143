#include "scene/orv_scene_node_creator.h"

OrvSceneNodeCreator::~OrvSceneNodeCreator() = default;
