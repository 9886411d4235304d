#pragma once

#include "raster/Layers.h"

namespace zp {

// A non-owning reference to a layer that becomes null when the layer is destroyed, so a
// document's selection and frame pointers can never dangle.
template <class T> class TLayerRef {
public:
    TLayerRef() = default;
    TLayerRef(T* Layer) { Set(Layer); }
    TLayerRef(const TLayerRef& Other) { Set(Other.FLayer); }
    TLayerRef& operator=(const TLayerRef& Other) {
        Set(Other.FLayer);
        return *this;
    }
    TLayerRef& operator=(T* Layer) {
        Set(Layer);
        return *this;
    }
    ~TLayerRef() { Set(nullptr); }

    T* Get() const { return FLayer; }
    T* operator->() const { return FLayer; }
    operator T*() const { return FLayer; }
    explicit operator bool() const { return FLayer != nullptr; }

private:
    void Set(T* Layer) {
        if (Layer == FLayer) return;
        if (FLayer) FLayer->OnDestroy.Remove(FHandler);
        FLayer = Layer;
        FHandler = 0;
        if (FLayer) FHandler = FLayer->OnDestroy.Add([this](TCustomLayer&) { FLayer = nullptr; });
    }

    T* FLayer = nullptr;
    int FHandler = 0;
};

} // namespace zp
