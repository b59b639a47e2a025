#include "platform/CompatibilityLayer.h"

namespace {

class NoCompatibilityLayer final : public CompatibilityLayer
{
public:
    QString layerFor(const QString&) const override { return {}; }
};

} // namespace

const CompatibilityLayer& CompatibilityLayer::system()
{
    static const NoCompatibilityLayer layer;
    return layer;
}

QString CompatibilityLayer::warningText(const QString& layer)
{
    return QStringLiteral("互換モード") + layer + QStringLiteral("で起動されています\n")
        + QStringLiteral("互換モードを解除して実行してください");
}
