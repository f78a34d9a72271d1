#include "tools/demosite/site_model.h"

#include "tools/demosite/random.h"
#include "tools/demosite/russian_text.h"

namespace {

// Both publications live in the years their sites' patterns expect: the
// magazine's issue paths begin with "/200".
const QDate NewspaperNewest(2006, 11, 24);
const QDate MagazineNewest(2006, 11, 20);

enum : uint64_t { KeyNewspaper = 1, KeyMagazine = 2, KeyPictures = 3 };

} // namespace

QList<ByteText> LongPictureNames() {
    return {ByteText(300, 'a') + ".jpg", ByteText(130, '\xE6') + ".gif"};
}

SiteModel::SiteModel(const DemoConfig& config) : config_(config) {
    config_.issues = qBound(1, config_.issues, 50);
    config_.pages = qBound(1, config_.pages, 200);
    config_.images = qBound(0, config_.images, 100);
    buildNewspaper();
    buildMagazine();
}

QList<ByteText> SiteModel::picturePaths(const ByteText& folder, const ByteText& stem, uint64_t key,
                                        bool newspaper) {
    Rng rng(config_.seed, {KeyPictures, key});
    QList<ByteText> paths;
    for (int k = 1; k <= config_.images; ++k) {
        int kind = rng.below(10);
        // Mostly photographs; some charts and drawings as GIF and PNG.
        ByteText ext = kind < 6 ? ".jpg" : kind < 8 ? ".gif" : newspaper ? ".png" : ".gif";
        ByteText path = folder + stem + "_" + ByteText::number(k) + ext;
        paths.append(path);
        pictures_.insert(path, true);
    }
    return paths;
}

void SiteModel::buildNewspaper() {
    QDate date = NewspaperNewest.addDays(-int(config_.seed % 40));
    int number = 24000 + int(config_.seed % 900);
    for (int i = 0; i < config_.issues; ++i) {
        // A daily without a Sunday issue.
        if (date.dayOfWeek() == 7)
            date = date.addDays(-1);
        NewspaperIssue issue;
        issue.number = number;
        issue.date = date;
        const ByteText issuePath = "/daily/" + ByteText::number(number);
        const int rubrics = russian::newspaperRubrics().size();
        for (int k = 0; k < config_.pages; ++k) {
            Rng articleRng(config_.seed, {KeyNewspaper, uint64_t(number), uint64_t(k)});
            Article article;
            article.id = 100000 + (number % 1000) * 200 + k + 1;
            article.rubric = k * rubrics / config_.pages;
            article.path = issuePath + "/" + ByteText::number(article.id);
            article.title = russian::headline(articleRng);
            article.annotation = russian::annotation(articleRng);
            article.images =
                picturePaths("/upimg/" + ByteText::number(number) + "/",
                             ByteText::number(number) + "_" + ByteText::number(article.id),
                             uint64_t(article.id), true);
            if (i == 0 && k == 0) {
                QList<ByteText> names;
                if (config_.crlfLink)
                    names.append(ByteText::number(article.id) + "_" + CrlfPictureName);
                if (config_.longPictureNames)
                    names += LongPictureNames();
                for (const ByteText& name : names) {
                    const ByteText path = "/upimg/" + ByteText::number(number) + "/" + name;
                    article.images.append(path);
                    pictures_.insert(path, true);
                }
            }
            issue.articles.append(article);
        }
        newspaperByNumber_.insert(number, newspaper_.size());
        newspaper_.append(issue);
        date = date.addDays(-1);
        --number;
    }
}

void SiteModel::buildMagazine() {
    QDate date = MagazineNewest.addDays(-7 * int(config_.seed % 20));
    int number = 650 + int(config_.seed % 50);
    for (int i = 0; i < config_.issues; ++i) {
        MagazineIssue issue;
        issue.number = number;
        issue.date = date;
        issue.yearNumber = (date.dayOfYear() - 1) / 7 + 1;
        issue.path = "/" + ByteText::number(date.year()) + "/" + ByteText::number(number) + "/";
        issue.coverPath = "/upload/covers/" + ByteText::number(number) + "/cover" +
                          ByteText::number(number) + ".jpg";
        pictures_.insert(issue.coverPath, true);
        issue.announced = (i + 1 == config_.announcedIssue);
        int articles = (i + 1 == config_.shortIssue) ? 3 : config_.pages;
        const int rubrics = russian::magazineRubrics().size();
        for (int k = 0; k < articles; ++k) {
            Rng articleRng(config_.seed, {KeyMagazine, uint64_t(number), uint64_t(k)});
            Article article;
            article.id = 30000 + number * 100 + k + 1;
            article.rubric = k * rubrics / articles;
            article.path = russian::magazineRubrics()[article.rubric].slug + "/" +
                           ByteText::number(article.id) + "/";
            article.title = russian::magazineHeadline(articleRng);
            article.annotation = russian::annotation(articleRng);
            article.images = picturePaths("/upload/iblock/" + ByteText::number(number) + "/",
                                          ByteText::number(article.id),
                                          uint64_t(article.id) + 0x10000000ULL, false);
            issue.articles.append(article);
        }
        magazineByPath_.insert(issue.path, magazine_.size());
        magazine_.append(issue);
        date = date.addDays(-7);
        --number;
    }
}

const NewspaperIssue* SiteModel::newspaperIssue(int number) const {
    auto it = newspaperByNumber_.find(number);
    return it == newspaperByNumber_.end() ? nullptr : &newspaper_[*it];
}

const MagazineIssue* SiteModel::magazineIssue(const ByteText& path) const {
    auto it = magazineByPath_.find(path);
    return it == magazineByPath_.end() ? nullptr : &magazine_[*it];
}
