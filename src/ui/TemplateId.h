#pragma once

#include <QVariant>
#include <QWidget>

namespace qpx::ui {

// Every control carries the numeric id of the dialog template it stands for, so tests, focus
// rules and the help find it without depending on layout or object names.
inline constexpr const char* kTemplateIdProperty = "templateId";

inline void SetTemplateId(QWidget* widget, int id) {
    if (widget != nullptr)
        widget->setProperty(kTemplateIdProperty, id);
}

inline int TemplateIdOf(const QWidget* widget) {
    if (widget == nullptr)
        return 0;
    const QVariant value = widget->property(kTemplateIdProperty);
    return value.isValid() ? value.toInt() : 0;
}

// The root itself counts; otherwise the first descendant carrying the id, or null.
inline QWidget* FindByTemplateId(QWidget* root, int id) {
    if (root == nullptr)
        return nullptr;
    if (TemplateIdOf(root) == id)
        return root;
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (TemplateIdOf(child) == id)
            return child;
    }
    return nullptr;
}

} // namespace qpx::ui
