#pragma once
// Owns one reference to a platform layer: released once when the owner goes.

#include "mac/Layer.h"

namespace PF {

class LayerRef {
 public:
  // Takes over the reference that comes with a newly made layer.
  explicit LayerRef(RvpLayer* adopted) : m_layer(adopted) {}
  ~LayerRef() { rvp_layer_release(m_layer); }
  LayerRef(const LayerRef&) = delete;
  LayerRef& operator=(const LayerRef&) = delete;

  RvpLayer* get() const { return m_layer; }

 private:
  RvpLayer* m_layer;
};

}  // namespace PF
