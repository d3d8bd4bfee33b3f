#pragma once
// Live view of a camera preset (`PRESET` in `PRESETS`) and its comment. Copies nothing; see
// ItemView.

#include "item_view.h"

#include "interfaces/configstore/ipreset.h"

namespace configstore {

inline constexpr FieldSchema kPresetFields[] = {{"COMMENT", FieldKind::Text}};
inline constexpr ElementSchema kPresetSchema{"PRESET", kPresetFields};

class Preset final : public IPreset, private ItemView
{
public:
    explicit Preset(NodeRef element) : ItemView(std::move(element), kPresetSchema) {}

    HRESULT GetComment(std::string *comment) override
    {
        return comment == nullptr ? E_POINTER : readText(Comment, comment);
    }
    HRESULT SetComment(const char *comment) override
    {
        return comment == nullptr ? E_POINTER : writeText(Comment, comment);
    }

private:
    enum Field : std::size_t { Comment };
};

} // namespace configstore
