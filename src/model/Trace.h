#pragma once

namespace quillon {

// Where the procedures of every layer write their trace entries. The log
// itself lives in the shell, above the layers that trace; they see only this.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    // False when tracing is off: the scopes below then build nothing.
    virtual bool tracing() = 0;
    virtual void traceEnter(const char* module, const char* procedure) = 0;
    virtual void traceLeave(const char* module, const char* procedure) = 0;
};

// Writes the enter entry of a procedure now and its leave entry when the
// scope ends, also when it ends by an exception. A null sink, or one with
// tracing off, costs a test and writes nothing.
class TraceScope {
public:
    TraceScope(TraceSink* sink, const char* module, const char* procedure)
        : module_(module), procedure_(procedure)
    {
        if (sink && sink->tracing()) {
            sink_ = sink;
            sink_->traceEnter(module_, procedure_);
        }
    }
    TraceScope(TraceSink& sink, const char* module, const char* procedure) : TraceScope(&sink, module, procedure) {}
    ~TraceScope()
    {
        if (sink_)
            sink_->traceLeave(module_, procedure_);
    }

    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;

private:
    TraceSink* sink_ = nullptr;
    const char* module_;
    const char* procedure_;
};

}  // namespace quillon
