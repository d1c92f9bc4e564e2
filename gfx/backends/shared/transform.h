// The modelview and projection kept on the processor, for backends without
// a matrix stack in their API: every operation rounds as the fixed-function
// GL's own (Mesa's) does, so that vertices taken to clip coordinates here
// land on the pixels OpenGL 1.1 puts them on. Column-major 4 x 4 matrices.
#pragma once

class Transform {
public:
    Transform();

    // glOrtho(box[0..5]) on an identity projection, then turned by
    // quarterTurns clockwise quarter turns (see Backend::setProjection); the
    // modelview becomes identity.
    void setOrtho(const double box[6], int quarterTurns = 0);
    void loadModelview(const float matrix[16]);
    const float* modelview() const { return modelview_; }
    const float* projection() const { return projection_; }
    void translate(float x, float y);
    void rotate(float degrees);  // about z
    void scale(float sx, float sy);

    // Projection times modelview as the GL forms it, kept until either
    // changes.
    const float* combined();
    // Bumped by every change: draws compare it to know their matrix moved.
    unsigned serial() const { return serial_; }

private:
    void multiply(const float* right);
    void changed();

    float projection_[16];
    float modelview_[16];
    float combined_[16];
    bool combinedValid_ = false;
    unsigned serial_ = 0;
};

// P·M as the GL forms it: every element a sum of four products, left to right.
void projectModelview(const float* p, const float* m, float* out);

// (P·M)·v for v = (x, y, z, w) in place, one row at a time in the GL's order.
void transformVertex(const float* pm, float* v);
