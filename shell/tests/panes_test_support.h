// What the tests of the panes share: a stand-in navigator window that records the messages
// the panes send it, the real model of a knowledge-base folder, and generated knowledge bases.
#pragma once

#include "model/model.h"
#include "model/model_loader.h"
#include "platform/path.h"
#include "shell/nav/nav_messages.h"
#include "shell/tests/shell_test_support.h"

#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

namespace kestrova::test {

// Records NAVM_NAVIGATE and NAVM_KEYWORDTOPICS as the navigator window would receive them.
class NavRecorder : public QObject {
public:
    struct Navigation {
        QString url;
        std::optional<SearchQuery> highlight;
        ITopic* topic = nullptr;
        uint32_t flags = 0;
    };

    std::vector<Navigation> navigations;
    QStringList keywords;

    bool event(QEvent* e) override {
        if (e->type() == NavEventType(NAVM_NAVIGATE)) {
            auto* message = static_cast<NavNavigate*>(e);
            const NavigateRequest& r = message->request;
            navigations.push_back({r.url, r.highlight, r.topic, r.flags});
            message->result = 1;
            return true;
        }
        if (e->type() == NavEventType(NAVM_KEYWORDTOPICS)) {
            auto* message = static_cast<NavKeywordTopics*>(e);
            keywords.append(message->keyword);
            message->result = 1;
            return true;
        }
        return QObject::event(e);
    }

    void Forget() {
        navigations.clear();
        keywords.clear();
    }
};

// Types `text` into `widget` one character at a time, as the keyboard would (QTest's own
// key clicks take Latin-1 only).
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QCoreApplication::sendEvent(widget, &release);
    }
}

inline std::u16string U16(const QString& s) { return s.toStdU16String(); }
inline QString Q(const char16_t* s) { return s ? QString::fromUtf16(s) : QString(); }

// The model of the knowledge base in `folder`, loaded (or built) as the viewer loads it.
inline CountedPtr<IModel> LoadKb(const QString& folder) {
    LoadResult loaded = LoadModelOnce(platform::NormalizePath(U16(folder)), false);
    if (!loaded.model) qFatal("no model for %s", qPrintable(folder));
    return loaded.model;
}

// The model of a fresh copy of the sample knowledge base (loaded once per test program).
inline CountedPtr<IModel> SampleModel() {
    static CountedPtr<IModel> model = LoadKb(CopySampleKb());
    return model;
}

// Writes a knowledge base into `folder`: `children` pages under one chapter "Большой раздел"
// (its index page first), and `keywords` distinct keywords spread over extra pages.
inline void WriteLargeKb(const QString& folder, int children, int keywords) {
    const QByteArray head = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n";
    WriteFile(folder + QStringLiteral("/big/index.html"),
              head +
                  "<title>Большой раздел</title>\n<meta chapter=\"Большой раздел\">\n"
                  "<meta content=\"_Index\">\n</head><body>index</body></html>\n");
    for (int i = 0; i < children; ++i) {
        const QByteArray n = QByteArray::number(i);
        WriteFile(folder + QStringLiteral("/big/p%1.html").arg(i),
                  head + "<title>Страница " + n + "</title>\n<meta chapter=\"Большой раздел\">\n" +
                      "<meta content=\"Страница " + n + "\">\n</head><body>" + n +
                      "</body></html>\n");
    }
    constexpr int kPerPage = 5000;
    for (int page = 0; page * kPerPage < keywords; ++page) {
        QByteArray list;
        for (int k = page * kPerPage; k < std::min(keywords, (page + 1) * kPerPage); ++k) {
            if (!list.isEmpty()) list += ',';
            list += "слово" + QByteArray::number(k).rightJustified(7, '0');
        }
        WriteFile(folder + QStringLiteral("/words/w%1.html").arg(page),
                  head + "<title>Слова " + QByteArray::number(page) + "</title>\n" +
                      "<meta chapter=\"Слова\">\n<meta content=\"Слова " +
                      QByteArray::number(page) + "\">\n<meta name=\"keywords\" content=\"" + list +
                      "\">\n</head><body>words</body></html>\n");
    }
}

}  // namespace kestrova::test
