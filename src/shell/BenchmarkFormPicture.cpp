#include "shell/BenchmarkFormPicture.h"

#include <QLayout>

#include "shell/BenchmarkForm.h"

namespace veltrane::shell {

QImage renderBenchmarkForm(BenchmarkForm& form) {
    form.ensurePolished();
    if (form.layout() != nullptr) {
        form.layout()->activate();
    }
    form.resize(form.sizeHint());
    return form.grab().toImage();
}

bool writeBenchmarkFormPng(const QString& path, FrameRequests& frame) {
    BenchmarkForm form(frame);
    const QImage picture = renderBenchmarkForm(form);
    return !picture.isNull() && picture.save(path, "PNG");
}

}  // namespace veltrane::shell
