#include "reading/MimeMessage.h"

#include "base/SafeWrite.h"
#include "base/TextLines.h"
#include "reading/Base64.h"
#include "reading/Charsets.h"
#include "reading/EncodedWords.h"

#include <QFile>

#include <gmime/gmime.h>

#include <mutex>

namespace {

void initialiseGMime()
{
    static std::once_flag once;
    std::call_once(once, [] {
        g_mime_init();
        // GMime reports oddities of a message on the log; a damaged mail
        // is shown as far as it goes, without warnings to anyone.
        g_log_set_handler(
            "gmime", GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG),
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    });
}

void ignoreWarning(gint64, GMimeParserWarning, const gchar*, gpointer)
{ }

GMimeParserOptions* parserOptions()
{
    static GMimeParserOptions* options = [] {
        GMimeParserOptions* o = g_mime_parser_options_new();
        g_mime_parser_options_set_warning_callback(o, ignoreWarning, nullptr);
        const char* fallback[] = {"utf-8", "cp932", "iso-8859-1", nullptr};
        g_mime_parser_options_set_fallback_charsets(o, fallback);
        g_mime_parser_options_set_rfc2047_compliance_mode(o, GMIME_RFC_COMPLIANCE_LOOSE);
        g_mime_parser_options_set_address_compliance_mode(o, GMIME_RFC_COMPLIANCE_LOOSE);
        g_mime_parser_options_set_parameter_compliance_mode(o, GMIME_RFC_COMPLIANCE_LOOSE);
        return o;
    }();
    return options;
}

QByteArray streamBytes(GMimeStream* stream)
{
    QByteArray out;
    g_mime_stream_reset(stream);
    char buffer[8192];
    for (;;) {
        const ssize_t n = g_mime_stream_read(stream, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, n);
    }
    return out;
}

// The content with its transfer encoding undone. Base64 is decoded here:
// GMime 3.2.13 stops at padding inside the data.
QByteArray decodedContent(GMimePart* part)
{
    GMimeDataWrapper* wrapper = g_mime_part_get_content(part);
    if (!wrapper)
        return {};
    GMimeStream* raw = g_mime_data_wrapper_get_stream(wrapper);
    if (!raw)
        return {};
    if (g_mime_data_wrapper_get_encoding(wrapper) == GMIME_CONTENT_ENCODING_BASE64)
        return decodeBase64Lenient(streamBytes(raw));
    GMimeStream* memory = g_mime_stream_mem_new();
    g_mime_data_wrapper_write_to_stream(wrapper, memory);
    const QByteArray out = streamBytes(memory);
    g_object_unref(memory);
    return out;
}

QStringList textLines(GMimePart* part)
{
    const char* charset = g_mime_object_get_content_type_parameter(GMIME_OBJECT(part), "charset");
    return splitTextLines(Charsets::decode(decodedContent(part), charset ? QByteArray(charset) : QByteArray()));
}

QString contentTypeText(GMimeObject* object)
{
    GMimeContentType* type = g_mime_object_get_content_type(object);
    if (!type)
        return QStringLiteral("text/plain");
    char* text = g_mime_content_type_encode(type, nullptr);
    QString out = QString::fromUtf8(text).trimmed();
    g_free(text);
    if (out.endsWith(u';'))
        out.chop(1);
    return out;
}

bool isTextType(GMimeObject* object)
{
    GMimeContentType* type = g_mime_object_get_content_type(object);
    return !type || g_mime_content_type_is_type(type, "text", "*");
}

} // namespace

struct MimeMessage::Private
{
    GMimeMessage* message = nullptr;
    QList<GMimeObject*> partObjects; // owned by the message
    QString headerlessText;          // the leading text of a file without headers
    ~Private()
    {
        if (message)
            g_object_unref(message);
    }
};

MimeMessage::MimeMessage(std::unique_ptr<Private> priv)
    : d(std::move(priv))
{ }

MimeMessage::~MimeMessage() = default;

static GMimeMessage* construct(const QByteArray& bytes)
{
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(bytes.constData(), size_t(bytes.size()));
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    g_mime_parser_set_format(parser, GMIME_FORMAT_MESSAGE);
    GMimeMessage* message = g_mime_parser_construct_message(parser, parserOptions());
    g_object_unref(parser);
    g_object_unref(stream);
    return message;
}

std::unique_ptr<MimeMessage> MimeMessage::parse(const QByteArray& bytes, QString* error)
{
    initialiseGMime();
    GMimeMessage* message = construct(bytes);
    QString headerless;
    if (!message && !bytes.trimmed().isEmpty()) {
        // Text that does not start with a header (an armoured OpenPGP file,
        // a note) is read as a message whose body is all of it; its first
        // lines count as the header block, as a lenient reader takes them.
        message = construct("\r\n" + bytes);
        headerless
            = Charsets::decodeUndeclared(bytes.left(bytes.indexOf("\n\n") < 0 ? bytes.size() : bytes.indexOf("\n\n")));
    }
    if (!message) {
        if (error)
            *error = QStringLiteral("メッセージとして読めません");
        return nullptr;
    }
    auto priv = std::make_unique<Private>();
    priv->message = message;
    priv->headerlessText = headerless;
    std::unique_ptr<MimeMessage> result(new MimeMessage(std::move(priv)));
    result->collectParts();
    return result;
}

std::unique_ptr<MimeMessage> MimeMessage::parseFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return nullptr;
    }
    return parse(file.readAll(), error);
}

void MimeMessage::collectParts()
{
    GMimeObject* top = g_mime_message_get_mime_part(d->message);
    if (!top || !GMIME_IS_MULTIPART(top))
        return;
    struct Walk
    {
        MimeMessage* self;
    } walk{this};
    g_mime_message_foreach(
        d->message,
        [](GMimeObject*, GMimeObject* object, gpointer data) {
            auto* self = static_cast<Walk*>(data)->self;
            if (GMIME_IS_MULTIPART(object))
                return;
            MimePart part;
            part.index = int(self->m_parts.size());
            part.contentType = contentTypeText(object);
            const char* disposition = g_mime_object_get_disposition(object);
            const bool declaredAttachment = disposition && g_ascii_strcasecmp(disposition, "attachment") == 0;
            if (GMIME_IS_PART(object)) {
                GMimePart* mimePart = GMIME_PART(object);
                const char* name = g_mime_part_get_filename(mimePart);
                part.fileName = name ? QString::fromUtf8(name) : QString();
                const char* description = g_mime_part_get_content_description(mimePart);
                part.description = description ? decodeHeaderText(QByteArray(description)) : QString();
                part.isAttachment = declaredAttachment || !part.fileName.isEmpty() || !isTextType(object);
                if (!part.isAttachment)
                    part.bodyLines = textLines(mimePart);
            } else {
                // An attached message (message/rfc822) and anything else
                // that is not a leaf part of content.
                part.isAttachment = true;
                const char* name = g_mime_object_get_content_disposition_parameter(object, "filename");
                if (!name)
                    name = g_mime_object_get_content_type_parameter(object, "name");
                part.fileName = name ? QString::fromUtf8(name) : QString();
            }
            self->m_parts.append(part);
            self->d->partObjects.append(object);
        },
        &walk);
}

// The message's own headers, then those of its top-level part: GMime keeps
// the Content-* headers of the top level with the part.
static QList<GMimeHeaderList*> headerLists(GMimeMessage* message)
{
    QList<GMimeHeaderList*> lists;
    if (GMimeHeaderList* own = g_mime_object_get_header_list(GMIME_OBJECT(message)))
        lists << own;
    GMimeObject* top = g_mime_message_get_mime_part(message);
    if (top) {
        if (GMimeHeaderList* part = g_mime_object_get_header_list(top))
            lists << part;
    }
    return lists;
}

QByteArray MimeMessage::rawHeader(const QString& name) const
{
    const QByteArray key = name.toLatin1();
    for (GMimeHeaderList* headers : headerLists(d->message)) {
        if (GMimeHeader* header = g_mime_header_list_get_header(headers, key.constData())) {
            const char* value = g_mime_header_get_raw_value(header);
            return value ? unfoldHeader(QByteArray(value)) : QByteArray("");
        }
    }
    return QByteArray();
}

QString MimeMessage::header(const QString& name) const
{
    const QByteArray raw = rawHeader(name);
    if (raw.isNull())
        return QString();
    return Charsets::decodeUndeclared(raw);
}

int MimeMessage::headerCount() const
{
    int count = 0;
    for (GMimeHeaderList* headers : headerLists(d->message))
        count += g_mime_header_list_get_count(headers);
    return count;
}

QString MimeMessage::headerBlock() const
{
    QString block = d->headerlessText;
    for (GMimeHeaderList* headers : headerLists(d->message)) {
        const int count = g_mime_header_list_get_count(headers);
        for (int i = 0; i < count; ++i) {
            GMimeHeader* h = g_mime_header_list_get_header_at(headers, i);
            const char* rawName = g_mime_header_get_raw_name(h);
            const char* value = g_mime_header_get_raw_value(h);
            block += QString::fromUtf8(rawName ? rawName : "") + QStringLiteral(": ")
                + Charsets::decodeUndeclared(unfoldHeader(value ? QByteArray(value) : QByteArray())) + u'\n';
        }
    }
    return block;
}

std::optional<Mailbox> MimeMessage::firstFrom() const
{
    const QByteArray raw = rawHeader(QStringLiteral("From"));
    if (raw.isNull())
        return std::nullopt;
    InternetAddressList* list = internet_address_list_parse(parserOptions(), raw.constData());
    if (!list)
        return std::nullopt;
    std::optional<Mailbox> result;
    for (int i = 0; i < internet_address_list_length(list) && !result; ++i) {
        InternetAddress* address = internet_address_list_get_address(list, i);
        if (!INTERNET_ADDRESS_IS_MAILBOX(address))
            continue;
        Mailbox box;
        box.address = QString::fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)));
        const char* name = internet_address_get_name(address);
        box.name = name ? QString::fromUtf8(name) : QString();
        // The display name is decoded here when it holds encoded words:
        // GMime drops text after a padded Base64 word and reads Shift_JIS
        // without the Windows extension characters.
        const qsizetype angle = raw.indexOf('<');
        if (raw.contains("=?") && angle > 0) {
            QByteArray phrase = raw.left(angle).trimmed();
            if (phrase.size() >= 2 && phrase.startsWith('"') && phrase.endsWith('"'))
                phrase = phrase.mid(1, phrase.size() - 2).replace("\\\"", "\"").replace("\\\\", "\\");
            box.name = decodeHeaderText(phrase);
        }
        result = box;
    }
    g_object_unref(list);
    return result;
}

QString MimeMessage::subject() const
{
    const QByteArray raw = rawHeader(QStringLiteral("Subject"));
    return raw.isNull() ? QString() : decodeHeaderText(raw);
}

QDateTime MimeMessage::date() const
{
    GDateTime* date = g_mime_message_get_date(d->message);
    if (!date)
        return {};
    const qint64 seconds = g_date_time_to_unix(date);
    return QDateTime::fromSecsSinceEpoch(seconds).toLocalTime();
}

bool MimeMessage::hasParts() const
{
    GMimeObject* top = g_mime_message_get_mime_part(d->message);
    return top && GMIME_IS_MULTIPART(top);
}

QStringList MimeMessage::bodyLines() const
{
    GMimeObject* top = g_mime_message_get_mime_part(d->message);
    if (!top || !GMIME_IS_PART(top))
        return {};
    return textLines(GMIME_PART(top));
}

QByteArray MimeMessage::attachmentContent(const MimePart& part) const
{
    GMimeObject* object = d->partObjects.value(part.index);
    if (!object)
        return {};
    if (GMIME_IS_PART(object))
        return decodedContent(GMIME_PART(object));
    // An attached message is saved as the message it is.
    GMimeStream* memory = g_mime_stream_mem_new();
    if (GMIME_IS_MESSAGE_PART(object)) {
        GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
        if (inner)
            g_mime_object_write_to_stream(GMIME_OBJECT(inner), nullptr, memory);
    } else {
        g_mime_object_write_content_to_stream(object, nullptr, memory);
    }
    const QByteArray out = streamBytes(memory);
    g_object_unref(memory);
    return out;
}

bool MimeMessage::saveAttachment(const MimePart& part, const QString& path) const
{
    return writeFileReplacing(path, attachmentContent(part));
}
