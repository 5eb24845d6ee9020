#include "ResourceModule.h"

#include "DialogTemplate.h"

namespace tensiq::res {

const Icon* FindIcon(const ResourceModule* module, unsigned id) {
    if (module == nullptr)
        return nullptr;
    for (std::size_t i = 0; i < module->iconCount; ++i)
        if (module->icons[i].id == id)
            return &module->icons[i];
    return nullptr;
}

const StringBlock* FindStringBlock(const ResourceModule* module, unsigned number) {
    if (module == nullptr)
        return nullptr;
    for (std::size_t i = 0; i < module->stringBlockCount; ++i)
        if (module->stringBlocks[i].number == number)
            return &module->stringBlocks[i];
    return nullptr;
}

const DialogTemplate* FindDialog(const ResourceModule* module, unsigned id) {
    if (module == nullptr)
        return nullptr;
    for (std::size_t i = 0; i < module->dialogCount; ++i)
        if (module->dialogs[i].id == id)
            return &module->dialogs[i];
    return nullptr;
}

const DialogControl* FindControl(const DialogTemplate& dialog, int id) {
    for (std::size_t i = 0; i < dialog.controlCount; ++i)
        if (dialog.controls[i].id == id)
            return &dialog.controls[i];
    return nullptr;
}

} // namespace tensiq::res
